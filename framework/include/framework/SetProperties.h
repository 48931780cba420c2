#pragma once

// Property records: one byte string that sets many properties of a window or
// control in one call.
//
// A record is a run of entries with nothing before, between or after them:
//
//     name   the property's name in ASCII, then one blank (0x20)
//     value  by the declared type of that name on the object's class:
//            Int32    4 bytes, two's complement, big-endian
//            Boolean  1 byte, 00 False or 01 True
//            String   a 4-byte big-endian byte count n, then n bytes of UTF-8
//            Color    3 bytes: red, green, blue
//
// The value carries no type tag (an Int32 0 and an empty String are both
// 00 00 00 00), so reading a record needs the class's records of its
// properties (ClassRecord.h): the reader takes each value's width from the
// declared type of the name. Properties of other types (Single, Object) are
// never in a record; set them by their setters.
//
// Records are written in the program's source with RecordWriter
// (RecordWriter.h), one key and value per line.

#include <framework/ClassRecord.h>
#include <framework/Ref.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class Object;

// One entry of a record, decoded.
struct RecordEntry {
    std::string Name;
    // Byte offset of the entry's first byte (its name) in the record.
    size_t Offset = 0;
    // The property of that name on the class that read the record.
    const PropertyRecord* Property = nullptr;
    Value Contents;
};

// Decodes the whole record by the declared types of `cls` and sets nothing.
// Raises RuntimeException, naming the property (as far as it could be read)
// and the byte offset of its entry, when:
//   - a name has no blank after it, or is empty;
//   - the class has no property of that name, or one that a record cannot
//     set (a type other than Int32, Boolean, String or Color, or no setter);
//   - a value is cut short by the record's end, or a String's count runs
//     past the end;
//   - a Boolean byte is neither 00 nor 01.
// It never reads outside `record`. An empty record has no entries.
std::vector<RecordEntry> ReadProperties(const ClassRecord& cls, std::string_view record);

// Applies a record to a window or control: checks the whole record first
// (ReadProperties against the object's class) and only then calls each
// property's setter, in record order, so a bad record sets nothing. A nil
// object raises NilObjectException before anything is read. An exception
// from a setter (a value the property refuses) passes on; the entries
// before it stay set.
void SetProperties(const Ref<Object>& object, std::string_view record);

// The bytes of one entry: name, blank, value encoded by its kind (int32_t,
// bool, std::string, Color). Raises RuntimeException for a name that is
// empty or holds a blank, or a value of another kind.
std::string EncodeEntry(const std::string& name, const Value& value);

} // namespace fw
