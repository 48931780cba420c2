#include <framework/Exceptions.h>
#include <framework/Text.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iconv.h>

namespace fw {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Byte offset of the character after `chars` characters (or the size).
size_t CharOffset(const std::string& s, int32_t chars)
{
    size_t i = 0;
    for (int32_t n = 0; n < chars && i < s.size(); ++n) {
        ++i;
        while (i < s.size() && IsContinuation(static_cast<unsigned char>(s[i])))
            ++i;
    }
    return i;
}

} // namespace

int32_t LenB(const std::string& s) { return static_cast<int32_t>(s.size()); }

std::string MidB(const std::string& s, int32_t start)
{
    if (start < 1)
        start = 1;
    if (static_cast<size_t>(start) > s.size())
        return {};
    return s.substr(static_cast<size_t>(start) - 1);
}

std::string MidB(const std::string& s, int32_t start, int32_t length)
{
    if (length <= 0)
        return {};
    std::string tail = MidB(s, start);
    return tail.substr(0, static_cast<size_t>(length));
}

std::string LeftB(const std::string& s, int32_t count)
{
    if (count <= 0)
        return {};
    return s.substr(0, static_cast<size_t>(count));
}

std::string RightB(const std::string& s, int32_t count)
{
    if (count <= 0)
        return {};
    size_t n = std::min(s.size(), static_cast<size_t>(count));
    return s.substr(s.size() - n);
}

int32_t Len(const std::string& s)
{
    int32_t n = 0;
    for (unsigned char c : s)
        if (!IsContinuation(c))
            ++n;
    return n;
}

std::string Left(const std::string& s, int32_t count)
{
    if (count <= 0)
        return {};
    return s.substr(0, CharOffset(s, count));
}

std::string Format(double value, const std::string& pattern)
{
    // Digit places before any decimal point; the places after it set the
    // number of decimals.
    size_t point = pattern.find('.');
    std::string whole = pattern.substr(0, point);
    std::string frac = point == std::string::npos ? std::string() : pattern.substr(point + 1);
    int minWhole = static_cast<int>(std::count(whole.begin(), whole.end(), '0'));
    int decimals = static_cast<int>(std::count(frac.begin(), frac.end(), '0') + std::count(frac.begin(), frac.end(), '#'));

    if (!std::isfinite(value))
        return std::isnan(value) ? "NaN" : (value < 0 ? "-INF" : "INF");
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(value));
    std::string digits = buf;
    size_t dot = digits.find('.');
    std::string intPart = digits.substr(0, dot);
    std::string fracPart = dot == std::string::npos ? std::string() : digits.substr(dot + 1);
    if (minWhole == 0 && intPart == "0")
        intPart.clear();
    if (static_cast<int>(intPart.size()) < minWhole)
        intPart.insert(0, static_cast<size_t>(minWhole) - intPart.size(), '0');
    bool negative = std::signbit(value) && std::fabs(value) > 0 && digits.find_first_not_of("0.") != std::string::npos;
    std::string out = negative ? "-" : "";
    out += intPart;
    if (decimals > 0)
        out += "." + fracPart;
    return out;
}

std::string Str(int64_t value) { return std::to_string(value); }

double Val(const std::string& s)
{
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    if (i + 1 < s.size() && s[i] == '&') {
        int base = 0;
        switch (s[i + 1]) {
        case 'h': case 'H': base = 16; break;
        case 'o': case 'O': base = 8; break;
        case 'b': case 'B': base = 2; break;
        default: return 0;
        }
        uint64_t v = 0;
        bool any = false;
        for (size_t j = i + 2; j < s.size(); ++j) {
            int d;
            char c = s[j];
            if (c >= '0' && c <= '9') d = c - '0';
            else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else break;
            if (d >= base)
                break;
            v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
            any = true;
        }
        return any ? static_cast<double>(v) : 0.0;
    }
    // strtod would also take "inf", "nan" and hexadecimal floats; allow only
    // sign, digits, one point and an exponent.
    size_t j = i;
    if (j < s.size() && (s[j] == '+' || s[j] == '-'))
        ++j;
    size_t digitsStart = j;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9')
        ++j;
    if (j < s.size() && s[j] == '.') {
        ++j;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9')
            ++j;
    }
    if (j == digitsStart || (j == digitsStart + 1 && s[digitsStart] == '.'))
        return 0;
    if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
        size_t k = j + 1;
        if (k < s.size() && (s[k] == '+' || s[k] == '-'))
            ++k;
        if (k < s.size() && s[k] >= '0' && s[k] <= '9') {
            while (k < s.size() && s[k] >= '0' && s[k] <= '9')
                ++k;
            j = k;
        }
    }
    return std::strtod(s.substr(i, j - i).c_str(), nullptr);
}

std::string Hex(int64_t value)
{
    char buf[32];
    if (value < 0 && value >= INT32_MIN)
        std::snprintf(buf, sizeof buf, "%X", static_cast<uint32_t>(value));
    else
        std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(value));
    return buf;
}

int32_t StrComp(const std::string& a, const std::string& b, int32_t mode)
{
    (void)mode; // mode 0 is the byte comparison; it is the only one in use
    int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::string ConvertEncoding(const std::string& s, Encoding to)
{
    if (to == Encoding::UTF8)
        return s;
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        int err = errno;
        throw RuntimeException(std::string("cannot convert to MacJapanese: ") + std::strerror(err), err);
    }
    std::string out;
    char buf[256];
    char* in = const_cast<char*>(s.data());
    size_t inLeft = s.size();
    while (inLeft > 0) {
        char* o = buf;
        size_t oLeft = sizeof buf;
        size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buf, static_cast<size_t>(o - buf));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // An unconvertible or broken sequence: one "?" for the character.
            out.push_back('?');
            do {
                ++in;
                --inLeft;
            } while (inLeft > 0 && IsContinuation(static_cast<unsigned char>(*in)));
        }
    }
    char* o = buf;
    size_t oLeft = sizeof buf;
    iconv(cd, nullptr, nullptr, &o, &oLeft);
    out.append(buf, static_cast<size_t>(o - buf));
    iconv_close(cd);
    return out;
}

} // namespace fw
