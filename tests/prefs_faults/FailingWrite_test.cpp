#include "Child.h"

#include "common/Mounts.h"
#include "common/TestSupport.h"

#include <framework/FolderItem.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

using namespace fw;
namespace fs = std::filesystem;

namespace {

const std::string kName = "ほろみねの設定";

fs::path Settings() { return fs::path(std::getenv("XDG_CONFIG_HOME")) / kName; }

// Where the settings file's temporary folder is: its own, or none, with a
// file in its place or no inode left to make it; the new file is then
// written beside the settings file.
enum class Temporary { Folder, FileInItsPlace, NoInodeLeft };

} // namespace

TEST(FailingWrite, AFileSizeLimitHitPartWayRaisesAndKeepsTheOldFile)
{
    ASSERT_EQ(faults::RunChild({ "save", "C3old" }).exitCode, 0);
    const std::string before = test::ReadFile(Settings());
    int faults = 0;
    // Cut before the mark is whole, inside the settings, and deep inside.
    for (const char* limit : { "1", "4000", "65536" }) {
        faults::Outcome o = faults::RunChild({ "--fsize", limit, "save-bytes", "100000", "Z" });
        ++faults;
        EXPECT_EQ(o.exitCode, 3) << "limit " << limit << ": " << o.err;
        EXPECT_EQ(faults::IOErrorNumber(o), EFBIG) << o.err;
        EXPECT_EQ(test::ReadFile(Settings()), before) << "limit " << limit;
        EXPECT_EQ(test::TypeAndCreator(Settings()), "PREFHRMN");
    }
    // Where the limit's signal is not ignored it ends the process mid-write.
    faults::Outcome killed = faults::RunChild({ "--fsize", "4000", "--fsize-kills", "save-bytes", "100000", "Z" });
    ++faults;
    EXPECT_EQ(killed.signal, SIGXFSZ);
    EXPECT_EQ(test::ReadFile(Settings()), before);
    EXPECT_EQ(test::TypeAndCreator(Settings()), "PREFHRMN");

    // And the next run, without the limit, saves as ever.
    EXPECT_EQ(faults::RunChild({ "save-bytes", "100000", "Z" }).exitCode, 0);
    EXPECT_EQ(test::ReadFile(Settings()), "00" + std::string(100000, 'Z'));
    std::printf("file size limit: %d faults injected, 0 files lost\n", faults);
    RecordProperty("faults", faults);
}

void FullFileSystemRaisesAndKeepsTheOldFile(Temporary temporary)
{
    std::string why;
    fs::path small = test::Home() / "small", config = small / "config";
    auto mount = test::Mount::Make("tmpfs", small, temporary == Temporary::NoInodeLeft ? "size=256k,nr_inodes=8" : "size=256k", why);
    if (!mount)
        GTEST_SKIP() << "needs a small tmpfs mount: " << why;
    // Settings on the small file system; its temporary folder is its own,
    // since TMPDIR and the cache lie elsewhere.
    setenv("XDG_CONFIG_HOME", (small / "config").c_str(), 1);
    ASSERT_EQ(faults::RunChild({ "save", "C3old" }).exitCode, 0);
    const std::string before = test::ReadFile(Settings());
    ASSERT_TRUE(fs::is_directory(small / "config" / ".TemporaryItems"));
    if (temporary != Temporary::Folder)
        fs::remove(config / ".TemporaryItems");
    if (temporary == Temporary::FileInItsPlace)
        test::WriteFile(config / ".TemporaryItems", "");
    for (int n = 0; temporary == Temporary::NoInodeLeft; ++n) {
        std::FILE* f = std::fopen((small / std::to_string(n)).c_str(), "w");
        if (!f)
            break;
        std::fclose(f);
    }
    const size_t entries = test::Entries(config);

    int faults = 0, saved = 0;
    // Leave less and less room, so that the write fails at every stage:
    // at once, part-way, or not at all.
    for (int kb = 64; kb >= 0; kb -= 8) {
        uintmax_t room = static_cast<uintmax_t>(kb) * 1024;
        fs::remove(small / "filler");
        uintmax_t fill = fs::space(small).available > room ? fs::space(small).available - room : 0;
        if (temporary != Temporary::NoInodeLeft)
            test::WriteFile(small / "filler", std::string(static_cast<size_t>(fill), 'f'));
        std::string expected = test::ReadFile(Settings());
        std::string letter(1, static_cast<char>('a' + kb / 8));
        faults::Outcome o = faults::RunChild({ "save-bytes", "40000", letter });
        std::string now = test::ReadFile(Settings());
        if (o.exitCode == 0) {
            ++saved;
            EXPECT_EQ(now, "00" + std::string(40000, letter[0]));
        } else {
            ++faults;
            EXPECT_EQ(o.exitCode, 3) << o.err;
            EXPECT_EQ(faults::IOErrorNumber(o), ENOSPC) << o.err;
            EXPECT_EQ(now, expected) << "room " << kb << " KiB";
        }
        EXPECT_EQ(test::TypeAndCreator(Settings()), "PREFHRMN");
        EXPECT_EQ(test::Entries(config), entries) << "left beside";
    }
    EXPECT_GT(faults, 0);
    EXPECT_EQ(saved > 0, temporary != Temporary::NoInodeLeft);
    fs::remove(small / "filler");
    EXPECT_EQ(test::ReadFile(Settings()) != before, saved > 0);
    std::printf("full file system: %d faults injected, %d saves went through, 0 files lost\n", faults, saved);
    testing::Test::RecordProperty("faults", faults);
}

TEST(FailingWrite, AFullFileSystemRaisesAndKeepsTheOldFile) { FullFileSystemRaisesAndKeepsTheOldFile(Temporary::Folder); }
TEST(FailingWrite, AFullFileSystemWithoutATemporaryFolderRaisesAndKeepsTheOldFile)
{
    FullFileSystemRaisesAndKeepsTheOldFile(Temporary::FileInItsPlace);
    FullFileSystemRaisesAndKeepsTheOldFile(Temporary::NoInodeLeft);
}
