#include "common/Mounts.h"

#include <framework/Exceptions.h>
#include <framework/Text.h>

#include <gtest/gtest.h>

#include <filesystem>

using namespace fw;

namespace {
const std::string kName = "ほろみねの設定"; // seven characters of three bytes
}

TEST(Text, ByteFunctionsCountBytesAndStopAtTheEnd)
{
    EXPECT_EQ(LenB(kName), 21);
    EXPECT_EQ(LenB(""), 0);
    EXPECT_EQ(MidB("C3xyz", 2, 1), "3");
    EXPECT_EQ(MidB("C3xyz", 3), "xyz");
    EXPECT_EQ(MidB("C3", 5, 1), "");
    EXPECT_EQ(MidB("C3", 3), "");
    EXPECT_EQ(MidB("C3", 2, 10), "3");
    EXPECT_EQ(MidB("abc", 1, 0), "");
    EXPECT_EQ(MidB("abc", 0, 2), "ab") << "positions below 1 read from the start";
    EXPECT_EQ(LeftB("0011", 2), "00");
    EXPECT_EQ(LeftB("0", 2), "0");
    EXPECT_EQ(LeftB("abc", -1), "");
    EXPECT_EQ(RightB("0000000012", 1), "2");
    EXPECT_EQ(RightB("ab", 5), "ab");
    // A byte cut can split a character.
    EXPECT_EQ(LeftB(kName, 4), std::string("ほ") + "\xE3");
    EXPECT_EQ(MidB(kName, 4, 3), "ろ");
}

TEST(Text, CharacterFunctionsCountCharacters)
{
    EXPECT_EQ(Len(kName), 7);
    EXPECT_EQ(Len("abc"), 3);
    EXPECT_EQ(Len("誤差＝12"), 5);
    EXPECT_EQ(Left(kName, 6), "ほろみねの設");
    EXPECT_EQ(Left(kName, 100), kName);
    EXPECT_EQ(Left(kName, 0), "");
    EXPECT_EQ(Left("a■b", 2), "a■");
}

TEST(Text, FormatPadsToThePatternsPlaces)
{
    EXPECT_EQ(Format(3, "0000000000"), "0000000003");
    EXPECT_EQ(Format(12, "0000000000"), "0000000012");
    EXPECT_EQ(Format(2147483647, "0000000000"), "2147483647");
    EXPECT_EQ(Format(1, "000000"), "000001");
    EXPECT_EQ(Format(900001, "000000"), "900001");
    EXPECT_EQ(Format(1234567, "000000"), "1234567") << "places are a minimum, never a cut";
    EXPECT_EQ(Format(-5, "000000"), "-000005");
    EXPECT_EQ(Format(0, "000000"), "000000");
}

TEST(Text, StrAndHex)
{
    EXPECT_EQ(Str(0), "0");
    EXPECT_EQ(Str(-42), "-42");
    EXPECT_EQ(Str(2147483647), "2147483647");
    EXPECT_EQ(Hex(0), "0");
    EXPECT_EQ(Hex(18), "12");
    EXPECT_EQ(Hex(255), "FF");
    EXPECT_EQ(Hex(0xABCDEF), "ABCDEF");
    EXPECT_EQ(Hex(-1), "FFFFFFFF");
}

TEST(Text, ValReadsTheLeadingNumberAndZeroOtherwise)
{
    EXPECT_EQ(Val("3"), 3);
    EXPECT_EQ(Val("  42abc"), 42);
    EXPECT_EQ(Val("-7"), -7);
    EXPECT_DOUBLE_EQ(Val("1.5e2"), 150);
    EXPECT_DOUBLE_EQ(Val("2.5"), 2.5);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("x"), 0);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("-"), 0);
    EXPECT_EQ(Val("inf"), 0) << "only digits make a number";
    EXPECT_EQ(Val("nan"), 0);
    EXPECT_EQ(Val("0x10"), 0);
    EXPECT_EQ(Val("1e"), 1);
    // Hexadecimal after &H, as colours are read back.
    EXPECT_EQ(Val("&H12"), 18);
    EXPECT_EQ(Val("&hff"), 255);
    EXPECT_EQ(Val("&H0A"), 10);
    EXPECT_EQ(Val("&H"), 0);
    EXPECT_EQ(Val("&Hxy"), 0);
    EXPECT_EQ(Val("&Hx1"), 0);
    EXPECT_EQ(Val("&B101"), 5);
    EXPECT_EQ(Val("&O17"), 15);
}

TEST(Text, StrCompModeZeroComparesBytes)
{
    EXPECT_EQ(StrComp("11", "11", 0), 0);
    EXPECT_EQ(StrComp("A", "a", 0), -1) << "letter case counts";
    EXPECT_EQ(StrComp("b", "a", 0), 1);
    EXPECT_EQ(StrComp("1", "11", 0), -1);
    EXPECT_EQ(StrComp("", "", 0), 0);
    EXPECT_NE(StrComp(std::string("a\0b", 3), "a", 0), 0) << "embedded zero bytes are compared too";
}

TEST(Text, ConvertEncodingToMacJapanese)
{
    // Shift_JIS family: two bytes a kana, ASCII unchanged.
    std::string sjis = ConvertEncoding(kName, Encodings::MacJapanese);
    EXPECT_EQ(sjis.size(), 14u);
    EXPECT_EQ(sjis.substr(0, 2), "\x82\xD9"); // ほ
    EXPECT_EQ(ConvertEncoding("abc_1", Encodings::MacJapanese), "abc_1");
    EXPECT_EQ(ConvertEncoding("", Encodings::MacJapanese), "");
    // Characters that the encoding lacks, and broken UTF-8, become "?".
    EXPECT_EQ(ConvertEncoding("a\xF0\x9F\x98\x80" "b", Encodings::MacJapanese), "a?b");
    EXPECT_EQ(ConvertEncoding("a\xFF" "b", Encodings::MacJapanese), "a?b");
    std::string longName(100, 'x');
    EXPECT_EQ(ConvertEncoding(longName, Encodings::MacJapanese), longName) << "longer than one conversion buffer";
    std::string longKana;
    for (int i = 0; i < 200; ++i)
        longKana += "設";
    EXPECT_EQ(ConvertEncoding(longKana, Encodings::MacJapanese).size(), 400u);
}

TEST(Text, ConvertEncodingRaisesWhenTheSystemHasNoConverter)
{
    const char* gconv = "/usr/lib/x86_64-linux-gnu/gconv";
    std::string why;
    auto hidden = std::filesystem::is_directory(gconv) ? test::Mount::Make("tmpfs", gconv, "size=4k", why) : nullptr;
    if (!hidden)
        GTEST_SKIP() << "needs an empty mount over " << gconv << ": " << why;
    EXPECT_THROW(ConvertEncoding(kName, Encodings::MacJapanese), RuntimeException);
}
