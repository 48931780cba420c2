#pragma once

#include <cstdint>
#include <string>

// Text functions over UTF-8 byte strings. The ...B functions count bytes,
// the others count characters; positions are 1-based and every cut stops
// short at the string's end.
namespace fw {

int32_t LenB(const std::string& s);
std::string MidB(const std::string& s, int32_t start);
std::string MidB(const std::string& s, int32_t start, int32_t length);
std::string LeftB(const std::string& s, int32_t count);
std::string RightB(const std::string& s, int32_t count);

int32_t Len(const std::string& s);
std::string Left(const std::string& s, int32_t count);

// Formats a number by a pattern of digit places; "0" is a place always
// written ("000000" gives 000042 for 42), "#" a place written when needed.
std::string Format(double value, const std::string& pattern);
std::string Str(int64_t value);
// The number at the start of the text: decimal, or hexadecimal after "&H"
// (octal after "&O", binary after "&B"); 0 when there is none.
double Val(const std::string& s);
// Upper-case hexadecimal digits, negative values as 32-bit two's complement.
std::string Hex(int64_t value);
// Mode 0 compares bytes: -1, 0 or 1.
int32_t StrComp(const std::string& a, const std::string& b, int32_t mode);

enum class Encoding { UTF8, MacJapanese };
namespace Encodings {
inline constexpr Encoding UTF8 = Encoding::UTF8;
inline constexpr Encoding MacJapanese = Encoding::MacJapanese;
}
// Converts UTF-8 text to the given encoding; characters that the target
// cannot hold become "?". Raises RuntimeException when the system has no
// converter for it.
std::string ConvertEncoding(const std::string& s, Encoding to);

} // namespace fw
