#include "common/Mounts.h"
#include "common/TestSupport.h"

#include "prefs/ApplPreferences.h"
#include "prefs/ShadowFiler.h"

#include <framework/FolderItem.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

using namespace fw;
namespace fs = std::filesystem;

namespace {

const std::string kName = "ほろみねの設定";

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Takes every shadow name of the base: hard links to a few empty files,
// which cost a name each and no file. The files are held as a live save
// holds its shadow, so no save takes them for leftovers.
void TakeAllNames(const fs::path& folder, std::vector<int>& held)
{
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(dir, 0);
    int source = 0;
    auto sourceName = [&] { return ".source" + std::to_string(source); };
    auto makeSource = [&] {
        int fd = openat(dir, sourceName().c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(flock(fd, LOCK_EX), 0);
        held.push_back(fd);
    };
    makeSource();
    char name[64];
    for (int n = 1; n <= ShadowFiler::kLastCounter; ++n) {
        std::snprintf(name, sizeof name, "%s%06d", kName.c_str(), n);
        if (linkat(dir, sourceName().c_str(), dir, name, 0) != 0) {
            ASSERT_EQ(errno, EMLINK) << name;
            ++source;
            makeSource();
            ASSERT_EQ(linkat(dir, sourceName().c_str(), dir, name, 0), 0) << name;
        }
    }
    close(dir);
}

} // namespace

TEST(AllNamesTaken, TheBaseIsWrittenDirectlyWithStatusMinus3)
{
    // On a tmpfs of its own where one can be had: names are cheaper there,
    // and the whole lot goes at once when it is unmounted.
    std::string why;
    auto mount = test::Mount::Make("tmpfs", test::Home() / "names", "nr_inodes=0", why);
    fs::path root = mount ? test::Home() / "names" : test::Home();
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    setenv("TMPDIR", (root / "tmp").c_str(), 1);
    fs::create_directories(root / "config");
    fs::create_directories(root / "tmp");
    fs::path settings = root / "config" / kName;
    test::WriteFile(settings, "00C3old");
    auto base = New<FolderItem>(settings.string());
    base->MacCreator("HRMN");
    base->MacType("PREF");
    fs::path temporary = base->TemporaryFolder()->NativePath();

    auto start = std::chrono::steady_clock::now();
    std::vector<int> held;
    TakeAllNames(temporary, held);
    double making = Seconds(start);

    start = std::chrono::steady_clock::now();
    auto filer = New<ShadowFiler>(base);
    double searching = Seconds(start);
    EXPECT_EQ(filer->RefStatus(), -3);
    EXPECT_FALSE(filer->RefShadowAvail());
    EXPECT_EQ(filer->RefShadowFile(), base);

    // The settings store then writes its file in place.
    auto prefs = New<ApplPreferences>(kName, "HRMN");
    prefs->Restore();
    EXPECT_EQ(prefs->GetData(), "C3old");
    prefs->SetPartData("4", 2);
    prefs->Save();
    EXPECT_EQ(test::ReadFile(settings), "00C4old");
    EXPECT_EQ(base->MacType(), "PREF");
    EXPECT_FALSE(fs::exists(temporary / (kName + "900002")));

    std::printf("900,001 names on %s: made in %.1f s, searched in %.1f s\n", mount ? "tmpfs" : "the test's disk", making,
        searching);
    RecordProperty("seconds_making_names", std::to_string(making));
    RecordProperty("seconds_searching", std::to_string(searching));
}
