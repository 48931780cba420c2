#include "Child.h"

#include "common/Mounts.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const std::string kName = "ほろみねの設定";

fs::path Tmp() { return test::Home() / "tmp"; }
fs::path Own() { return Tmp() / ("TemporaryItems-" + std::to_string(geteuid())); }

// What somebody else keeps and a planted name would lure a save into.
struct Victims {
    fs::path file = test::Home() / "victim" / "precious";
    fs::path folder = test::Home() / "victim" / "folder";
    Victims()
    {
        fs::create_directories(folder);
        test::WriteFile(file, "precious");
    }
    void ExpectUntouched() const
    {
        EXPECT_EQ(test::ReadFile(file), "precious");
        EXPECT_TRUE(fs::is_empty(folder));
        EXPECT_EQ(test::Entries(file.parent_path()), 2u);
    }
};

int SaveAndCheck(const std::string& value)
{
    faults::Outcome o = faults::RunChild({ "save", value }, 10000);
    EXPECT_FALSE(o.timedOut) << "the save hung";
    EXPECT_EQ(o.exitCode, 0) << o.err;
    EXPECT_EQ(test::ReadFile(test::Home() / ".config" / kName), "00" + value);
    return 1;
}

// Each test starts from empty settings, temporary and victim folders, also
// when several run in one process.
class PlantedNames : public testing::Test {
protected:
    void SetUp() override
    {
        for (const fs::path& p : { test::Home() / ".config", test::Home() / ".cache", Tmp(), test::Home() / "victim" }) {
            fs::remove_all(p);
            fs::create_directories(p);
        }
    }
};

} // namespace

TEST_F(PlantedNames, ShadowNamesInTheSharedTemporaryFolderLureNothing)
{
    Victims victims;
    int planted = 0;
    // Every name a shadow would get if it lay straight in $TMPDIR.
    fs::create_symlink(victims.file, Tmp() / (kName + "000001"));
    fs::create_symlink(victims.folder / "new", Tmp() / (kName + "000002"));
    ASSERT_EQ(mkfifo((Tmp() / (kName + "000003")).c_str(), 0666), 0);
    fs::create_directory_symlink(victims.folder, Tmp() / (kName + "000004"));
    planted += 4;
    SaveAndCheck("C3first");
    SaveAndCheck("C4second");
    victims.ExpectUntouched();
    std::printf("planted in $TMPDIR: %d names, no victim written\n", planted);
}

TEST_F(PlantedNames, APlantedPrivateFolderIsPassedOver)
{
    Victims victims;
    int planted = 0;
    fs::path cacheFolder = test::Home() / ".cache" / "TemporaryItems";

    fs::create_directory_symlink(victims.folder, Own());
    ++planted;
    SaveAndCheck("C1link");
    victims.ExpectUntouched();
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(cacheFolder))) << "the cache's folder took its place";

    fs::remove(Own());
    ASSERT_EQ(mkfifo(Own().c_str(), 0666), 0);
    ++planted;
    SaveAndCheck("C2fifo");

    fs::remove(Own());
    fs::create_directory(Own());
    fs::permissions(Own(), fs::perms::all);
    ++planted;
    SaveAndCheck("C3open");
    EXPECT_TRUE(fs::is_empty(Own())) << "a folder that others may write to is not used";

    if (geteuid() == 0 && !test::InOwnUserNamespace()) {
        fs::permissions(Own(), fs::perms::owner_all);
        ASSERT_EQ(chown(Own().c_str(), 65534, 65534), 0);
        ++planted;
        SaveAndCheck("C4theirs");
        EXPECT_TRUE(fs::is_empty(Own())) << "another user's folder is not used";
    }
    victims.ExpectUntouched();
    std::printf("planted private folders: %d, no victim written\n", planted);
}

TEST_F(PlantedNames, NamesTakenInsideThePrivateFolderAreSkippedNotFollowed)
{
    Victims victims;
    SaveAndCheck("C0");
    ASSERT_TRUE(fs::is_directory(fs::symlink_status(Own())));
    fs::create_symlink(victims.file, Own() / (kName + "000001"));
    ASSERT_EQ(mkfifo((Own() / (kName + "000002")).c_str(), 0666), 0);
    fs::create_directory_symlink(victims.folder, Own() / (kName + "000003"));
    fs::create_directory(Own() / (kName + "000004"));
    SaveAndCheck("C1");
    victims.ExpectUntouched();
    EXPECT_FALSE(fs::exists(Own() / (kName + "000005"))) << "the shadow was used and removed";
}

TEST_F(PlantedNames, ATemporaryFolderAnotherUserCanRenameInNeverSteersASave)
{
    std::string why;
    auto argv = faults::AsOtherUser(why);
    if (argv.empty())
        GTEST_SKIP() << why;
    // Their TMPDIR, not open to all: once it was taken for a private one.
    fs::path theirs = test::Home() / "theirs";
    for (const fs::path& p : { theirs, theirs / "tmp", theirs / "trap" })
        ASSERT_TRUE(fs::create_directory(p) && chown(p.c_str(), faults::kOtherUser, faults::kOtherUser) == 0);
    setenv("TMPDIR", (theirs / "tmp").c_str(), 1);
    argv.insert(argv.end(), { PREFS_CHILD, "race", (theirs / "tmp" / "TemporaryItems-0").string(), (theirs / "trap").string() });
    faults::Child racer(argv);
    ASSERT_TRUE(racer.WaitForLine("ready", 20000)) << racer.Wait(1000).err;
    const int kSaves = 40;
    for (int i = 1; i <= kSaves; ++i)
        SaveAndCheck("C" + std::to_string(i));
    racer.Kill(SIGTERM);
    faults::Outcome end = racer.Wait(20000);
    long swaps = std::atol(end.out.substr(end.out.find('\n') + 1).c_str());
    EXPECT_GT(swaps, 0) << end.err;
    struct stat st;
    for (const auto& e : fs::recursive_directory_iterator(theirs))
        EXPECT_TRUE(lstat(e.path().c_str(), &st) == 0 && st.st_uid != 0) << "a save left " << e.path() << " there";
    EXPECT_TRUE(stat((test::Home() / ".config" / kName).c_str(), &st) == 0 && st.st_uid == 0) << "their file took its place";
    std::printf("race: %ld swaps by another user against %d saves\n", swaps, kSaves);
    RecordProperty("swaps", std::to_string(swaps));
}
