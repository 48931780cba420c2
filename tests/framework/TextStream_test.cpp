#include "common/TestSupport.h"

#include <framework/TextInputStream.h>
#include <framework/TextOutputStream.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

using namespace fw;
namespace fs = std::filesystem;

namespace {
Ref<FolderItem> Item(const fs::path& p) { return New<FolderItem>(p.string()); }
}

TEST(TextStream, BytesGoOutAndComeBackExactly)
{
    std::string bytes = std::string("00\0\xFF\x80", 5) + "ほろみね\r\n" + std::string(100000, 'x');
    auto f = Item(test::Home() / "data");
    auto out = TextOutputStream::Create(f);
    out->Write("");
    out->Write(bytes.substr(0, 3));
    out->Write(bytes.substr(3));
    out->Close();
    out->Close();
    EXPECT_EQ(test::ReadFile(test::Home() / "data"), bytes);

    auto in = TextInputStream::Open(f);
    EXPECT_EQ(in->ReadAll(), bytes);
    EXPECT_EQ(in->ReadAll(), "");
    in->Close();

    // Create replaces what was there.
    TextOutputStream::Create(f)->Close();
    EXPECT_EQ(test::ReadFile(test::Home() / "data"), "");
    EXPECT_THROW(out->Write("late"), IOException);
}

TEST(TextStream, AnEarlierFileStaysWholeUntilCloseAndKeepsItsModeAndType)
{
    fs::path folder = test::Home() / "f", data = folder / "data";
    fs::create_directory(folder);
    test::WriteFile(data, "old");
    fs::permissions(data, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    auto f = Item(data);
    f->MacType("PREF");
    TextOutputStream::Create(f)->Write("never closed");
    EXPECT_EQ(test::ReadFile(data), "old");
    EXPECT_EQ(test::Entries(folder), 1u) << "nothing left beside";
    auto out = TextOutputStream::Create(f);
    out->Write("new");
    out->Close();
    EXPECT_EQ(test::ReadFile(data), "new");
    EXPECT_EQ(fs::status(data).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Item(data)->MacType(), "PREF");
    // A link at the name is neither written through nor replaced.
    fs::create_symlink(data, folder / "link");
    EXPECT_THROW(TextOutputStream::Create(Item(folder / "link")), IOException);
    EXPECT_TRUE(fs::is_symlink(folder / "link"));
}

TEST(TextStream, FailuresRaiseIOExceptionWithTheItemsErrorCode)
{
    auto missing = Item(test::Home() / "absent");
    try {
        TextInputStream::Open(missing);
        FAIL() << "no exception";
    } catch (const IOException& e) {
        EXPECT_EQ(e.ErrorNumber, ENOENT);
        EXPECT_EQ(missing->LastErrorCode(), ENOENT);
    }
    auto nofolder = Item(test::Home() / "nofolder" / "f");
    try {
        TextOutputStream::Create(nofolder);
        FAIL() << "no exception";
    } catch (const IOException& e) {
        EXPECT_EQ(e.ErrorNumber, ENOENT);
        EXPECT_EQ(nofolder->LastErrorCode(), ENOENT);
    }
    fs::create_directory(test::Home() / "folder");
    EXPECT_THROW(TextOutputStream::Create(Item(test::Home() / "folder")), IOException);
    EXPECT_THROW(TextInputStream::Open(Item(test::Home() / "folder")), IOException);
    EXPECT_THROW(TextOutputStream::Create(nullptr), NilObjectException);
    EXPECT_THROW(TextInputStream::Open(nullptr), NilObjectException);
}

TEST(TextStream, AFifoIsNeverWaitedOnNorWritten)
{
    fs::path fifo = test::Home() / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    auto item = Item(fifo);
    try {
        TextOutputStream::Create(item);
        FAIL() << "no exception";
    } catch (const IOException& e) {
        EXPECT_NE(e.ErrorNumber, 0);
        EXPECT_EQ(item->LastErrorCode(), e.ErrorNumber);
    }
    // Reading one with no writer ends at once with nothing.
    EXPECT_EQ(TextInputStream::Open(item)->ReadAll(), "");
}
