#include <framework/Object.h>
#include <framework/SetProperties.h>

#include <cstdint>
#include <cstdio>
#include <limits>

namespace fw {

namespace {

const char* TypeName(PropertyType type)
{
    switch (type) {
    case PropertyType::Int32: return "Int32";
    case PropertyType::Int16: return "Int16";
    case PropertyType::Boolean: return "Boolean";
    case PropertyType::String: return "String";
    case PropertyType::Color: return "Color";
    case PropertyType::Single: return "Single";
    case PropertyType::Double: return "Double";
    case PropertyType::Object: return "Object";
    }
    return "unknown";
}

// A name as it can be shown in a message: bad records hold any bytes.
std::string Printable(std::string_view name)
{
    constexpr size_t kLongest = 40;
    std::string out;
    for (size_t i = 0; i < name.size() && i < kLongest; ++i) {
        auto c = static_cast<unsigned char>(name[i]);
        if (c > 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    if (name.size() > kLongest)
        out += "...";
    return out;
}

[[noreturn]] void Fail(std::string_view name, size_t offset, const std::string& what)
{
    std::string where = name.empty() ? std::string() : "\"" + Printable(name) + "\" ";
    throw RuntimeException("property record: " + where + "at byte " + std::to_string(offset) + ": " + what);
}

uint32_t BigEndian(std::string_view bytes, size_t at)
{
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return v;
}

void AppendBigEndian(std::string& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}

} // namespace

std::vector<RecordEntry> ReadProperties(const ClassRecord& cls, std::string_view record)
{
    std::vector<RecordEntry> entries;
    size_t at = 0;
    while (at < record.size()) {
        const size_t start = at;
        size_t blank = record.find(' ', at);
        if (blank == std::string_view::npos)
            Fail(record.substr(at), start, "the name has no blank after it");
        std::string_view name = record.substr(at, blank - at);
        if (name.empty())
            Fail(name, start, "an entry without a name");
        at = blank + 1;

        const PropertyRecord* p = cls.FindProperty(std::string(name));
        if (!p)
            Fail(name, start, cls.Name + " has no property of that name");
        if (!p->Setter)
            Fail(name, start, cls.Name + " does not let a record set it");
        const size_t left = record.size() - at;
        auto need = [&](size_t n, const char* what) {
            if (left < n)
                Fail(name, start,
                    std::string(what) + " needs " + std::to_string(n) + " bytes, " + std::to_string(left)
                        + " are left");
        };
        RecordEntry e { std::string(name), start, p, {} };
        switch (p->Type) {
        case PropertyType::Int32:
            need(4, "an Int32");
            e.Contents = static_cast<int32_t>(BigEndian(record, at));
            at += 4;
            break;
        case PropertyType::Boolean: {
            need(1, "a Boolean");
            auto b = static_cast<unsigned char>(record[at]);
            if (b > 1)
                Fail(name, start, "a Boolean byte is 00 or 01, not " + std::to_string(b));
            e.Contents = b == 1;
            at += 1;
            break;
        }
        case PropertyType::String: {
            need(4, "the count of a String");
            uint32_t n = BigEndian(record, at);
            if (n > left - 4)
                Fail(name, start,
                    "the String's count is " + std::to_string(n) + " bytes, " + std::to_string(left - 4)
                        + " are left");
            e.Contents = std::string(record.substr(at + 4, n));
            at += 4 + size_t { n };
            break;
        }
        case PropertyType::Color:
            need(3, "a Color");
            e.Contents = RGB(static_cast<unsigned char>(record[at]), static_cast<unsigned char>(record[at + 1]),
                static_cast<unsigned char>(record[at + 2]));
            at += 3;
            break;
        default:
            Fail(name, start, std::string("a property of type ") + TypeName(p->Type) + " is never in a record");
        }
        entries.push_back(std::move(e));
    }
    return entries;
}

void SetProperties(const Ref<Object>& object, std::string_view record)
{
    if (!object) {
        size_t blank = record.find(' ');
        throw NilObjectException("property record: "
            + (blank == std::string_view::npos ? std::string() : "\"" + Printable(record.substr(0, blank)) + "\" ")
            + "at byte 0: the object is nil");
    }
    std::vector<RecordEntry> entries = ReadProperties(object->ClassInfo(), record);
    for (const RecordEntry& e : entries)
        e.Property->Setter(*object, e.Contents);
}

std::string EncodeEntry(const std::string& name, const Value& value)
{
    if (name.empty() || name.find(' ') != std::string::npos)
        throw RuntimeException("property record: \"" + Printable(name) + "\" cannot be the name of an entry");
    std::string out = name + ' ';
    if (auto* i = std::get_if<int32_t>(&value)) {
        AppendBigEndian(out, static_cast<uint32_t>(*i));
    } else if (auto* b = std::get_if<bool>(&value)) {
        out += static_cast<char>(*b ? 1 : 0);
    } else if (auto* s = std::get_if<std::string>(&value)) {
        if (s->size() > std::numeric_limits<uint32_t>::max())
            throw RuntimeException("property record: \"" + name + "\": the text is too long for a record");
        AppendBigEndian(out, static_cast<uint32_t>(s->size()));
        out += *s;
    } else if (auto* c = std::get_if<Color>(&value)) {
        out += static_cast<char>(c->Red());
        out += static_cast<char>(c->Green());
        out += static_cast<char>(c->Blue());
    } else {
        throw RuntimeException("property record: \"" + name + "\": a value of this kind is never in a record");
    }
    return out;
}

} // namespace fw
