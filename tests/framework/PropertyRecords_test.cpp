#include <framework/Label.h>
#include <framework/RecordWriter.h>
#include <framework/SetProperties.h>

#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace fw;

namespace {

std::string Be(uint32_t v) { return { char(v >> 24), char(v >> 16), char(v >> 8), char(v) }; }
std::string Str(const std::string& s) { return Be(uint32_t(s.size())) + s; }

} // namespace

TEST(PropertyRecords, ValuesSplitByDeclaredTypeCountInBytesAndCarryCR)
{
    // Int32 0 then an empty String: the same zero bytes, told apart by type.
    std::string record = "Left " + Be(0) + "Text " + Be(0) + "TabIndex " + Be(1) + "Text " + Str("ほろみねの説明")
        + "HelpTag " + Str("目的\r操作\r\r");
    std::vector<RecordEntry> e = ReadProperties(Label::Record(), record);
    ASSERT_EQ(e.size(), 5u);
    EXPECT_EQ(std::get<int32_t>(e[0].Contents), 0);
    EXPECT_EQ(std::get<std::string>(e[1].Contents), "");
    EXPECT_EQ(std::get<int32_t>(e[2].Contents), 1);
    EXPECT_EQ(record.substr(e[3].Offset + 5, 4), Be(21)) << "7 characters, 21 bytes";
    EXPECT_EQ(std::get<std::string>(e[4].Contents), "目的\r操作\r\r");

    auto label = New<Label>();
    SetProperties(label, record);
    EXPECT_EQ(label->Text(), "ほろみねの説明") << "entries apply in record order";
    EXPECT_EQ(label->HelpTag(), "目的\r操作\r\r");
}

TEST(PropertyRecords, EveryBadRecordRaisesNamingThePropertyAndOffsetAndSetsNothing)
{
    const std::string good = "Text " + Str("kept");
    struct Case {
        std::string bytes, message;
    } cases[] = {
        { good + "Nope " + Be(1), "\"Nope\" at byte 13: Label has no property" },
        { good + "Left " + Be(1).substr(0, 3), "\"Left\" at byte 13: an Int32 needs 4 bytes, 3 are left" },
        { good + "Bold ", "\"Bold\" at byte 13: a Boolean needs 1 bytes, 0 are left" },
        { good + "TextColor " + std::string("\x01\x02", 2), "\"TextColor\" at byte 13: a Color needs 3" },
        { good + "Text " + Be(4).substr(0, 2), "\"Text\" at byte 13: the count of a String needs 4" },
        { good + "Text " + Be(9) + "abc", "\"Text\" at byte 13: the String's count is 9 bytes, 3 are left" },
        { good + "Text " + Be(0xFFFFFFFF) + "abc", "count is 4294967295 bytes, 3 are left" },
        { good + "Bold " + "\x02", "\"Bold\" at byte 13: a Boolean byte is 00 or 01, not 2" },
        { good + "Bold", "\"Bold\" at byte 13: the name has no blank" },
        { good + " " + Be(0), "at byte 13: an entry without a name" },
        { good + "TextSize " + Be(0), "\"TextSize\" at byte 13: a property of type Single is never in a record" },
        { good + std::string("N\0\xFF ", 4), "\"N\\x00\\xFF\" at byte 13: Label has no property" },
    };
    for (const Case& c : cases) {
        auto label = New<Label>();
        label->Text("before");
        try {
            SetProperties(label, c.bytes);
            ADD_FAILURE() << "no exception for " << c.message;
        } catch (const RuntimeException& e) {
            EXPECT_NE(e.Message.find(c.message), std::string::npos) << e.Message;
        }
        EXPECT_EQ(label->Text(), "before") << c.message;
    }
    EXPECT_THROW(SetProperties(Ref<Label>(), good), NilObjectException);
}

TEST(PropertyRecords, TheWriterRefusesUnknownRepeatedMistypedAndMissingKeys)
{
    auto fails = [](auto&& write, const std::string& message) {
        try {
            write();
            ADD_FAILURE() << message;
        } catch (const RuntimeException& e) {
            EXPECT_NE(e.Message.find(message), std::string::npos) << e.Message;
        }
    };
    fails([] { RecordWriter(RecordKind::Label).Set("Title", "x"); }, "\"Title\" is not a key of this kind");
    fails([] { RecordWriter(RecordKind::Window).Set("Width", 1).Set("Width", 2); }, "\"Width\" is given twice");
    fails([] { RecordWriter(RecordKind::Window).Set("Title", 3); }, "\"Title\" takes a value of another type");
    fails([] { RecordWriter(RecordKind::TabPanel).Set("Name", "TabPanel1").Bytes(); }, "\"Index\" is missing");
}

TEST(PropertyRecords, TheWriterPutsEveryKeyInTheKindsOrderAndTheReaderReadsThemBack)
{
    // The main window's and the game field's records, byte for byte where
    // the order and the encoding show.
    std::string window = test::Record(RecordKind::Window,
        { { "Placement", 2 }, { "Width", 480 }, { "Height", 300 }, { "MinWidth", 480 }, { "Title", "ほろみね" } });
    ASSERT_EQ(window.size(), 279u);
    EXPECT_EQ(window.substr(0, 48),
        "Placement " + Be(2) + "Width " + Be(480) + "Height " + Be(300) + "MinWidth " + Be(480));
    std::vector<RecordEntry> entries = ReadProperties(RecordWriter::ClassOf(RecordKind::Window), window);
    std::vector<std::string> names;
    for (const RecordEntry& e : entries)
        names.push_back(e.Name);
    EXPECT_EQ(names, RecordWriter::Keys(RecordKind::Window));
    EXPECT_EQ(std::get<std::string>(entries[11].Contents), "ほろみね");

    std::string field = test::Record(RecordKind::Canvas,
        { { "Name", "TheGameField" }, { "Index", INT_MIN }, { "Width", 480 }, { "Height", 300 } });
    ASSERT_EQ(field.size(), 285u);
    EXPECT_EQ(field.substr(254), "Index " + Be(0x80000000) + "Name " + Be(12) + "TheGameField");
}
