#pragma once

#include <framework/ClassRecord.h>
#include <framework/Color.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// The kinds of object that property records describe. Every record of one
// kind carries the same keys in the same order (RecordWriter::Keys).
enum class RecordKind {
    Window,   // 21 keys, Placement ... MacProcID
    Label,    // 30 keys, InitialParent ... Name, TabStop
    Canvas,   // 23 keys, InitialParent ... Name; Canvas and its subclasses
    TabPanel, // 25 keys, Name ... InitialParent
    TextArea, // 41 keys, Name ... InitialParent
};

// Writes a property record (SetProperties.h) so that the program's source
// shows every key and its value:
//
//     static const std::string record = fw::RecordWriter(fw::RecordKind::Window)
//         .Set("Placement", 2)
//         .Set("Width", 480)
//         ...
//         .Set("BackColor", fw::RGB(255, 255, 255))
//         .Set("Title", "ほろみね")
//         .Set("Visible", true)
//         ...
//         .Bytes();
//
// The keys may be given in any order; Bytes emits them in the kind's order.
// Each key of the kind must be given exactly once, with a value of its
// declared type on the kind's class (Int32, Boolean, String or Color): an
// unknown key, a second value, a value of another type (RuntimeException
// from Set) or a missing key (RuntimeException from Bytes) is an error,
// never a default. Write -2147483648 as INT32_MIN; other kinds of number
// (unsigned, long, double, char) do not compile.
class RecordWriter {
public:
    explicit RecordWriter(RecordKind kind);

    RecordWriter& Set(std::string_view key, int32_t value);
    RecordWriter& Set(std::string_view key, bool value);
    RecordWriter& Set(std::string_view key, const char* text);
    RecordWriter& Set(std::string_view key, const std::string& text);
    RecordWriter& Set(std::string_view key, Color value);
    template <class T>
    RecordWriter& Set(std::string_view key, T value) = delete;

    // The record's bytes, the entries in the kind's key order.
    std::string Bytes() const;

    // The keys of a kind, in order.
    static const std::vector<std::string>& Keys(RecordKind kind);
    // The class whose property records give each key's type.
    static const ClassRecord& ClassOf(RecordKind kind);

private:
    RecordWriter& Put(std::string_view key, Value value);

    RecordKind kind_;
    std::map<std::string, Value, std::less<>> values_;
};

} // namespace fw
