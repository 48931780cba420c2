#include "Child.h"

#include "common/Mounts.h"
#include "common/TestSupport.h"

#include <framework/FolderItem.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

using namespace fw;
namespace fs = std::filesystem;

namespace {

const std::string kName = "ほろみねの設定";

fs::path Prefs() { return test::Home() / ".config"; }

void ExpectKept(const std::string& before)
{
    EXPECT_EQ(test::ReadFile(Prefs() / kName), before);
    EXPECT_EQ(test::TypeAndCreator(Prefs() / kName), "PREFHRMN");
}

} // namespace

TEST(ReadOnlyPreferences, AReadOnlyMountRaisesAndLosesNothing)
{
    ASSERT_EQ(faults::RunChild({ "save", "C3old" }).exitCode, 0);
    const std::string before = test::ReadFile(Prefs() / kName);
    std::string why;
    int faults = 0;
    {
        auto ro = test::Mount::ReadOnlyBind(Prefs(), why);
        if (!ro)
            GTEST_SKIP() << "needs a read-only bind mount: " << why;
        size_t entries = test::Entries(Prefs());
        faults::Outcome o = faults::RunChild({ "save", "C4new" });
        ++faults;
        EXPECT_EQ(o.exitCode, 3) << o.err;
        EXPECT_EQ(faults::IOErrorNumber(o), EROFS) << o.err;
        ExpectKept(before);
        EXPECT_EQ(test::Entries(Prefs()), entries);
        // Reading still works.
        faults::Outcome r = faults::RunChild({ "restore" });
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, "C3old");
    }
    // A private temporary folder made earlier inside the folder changes
    // nothing: the shadow cannot be made there either.
    ASSERT_EQ(mkdir((Prefs() / ".TemporaryItems").c_str(), 0700), 0);
    {
        auto ro = test::Mount::ReadOnlyBind(Prefs(), why);
        ASSERT_TRUE(ro) << why;
        faults::Outcome o = faults::RunChild({ "save", "C5new" });
        ++faults;
        EXPECT_EQ(o.exitCode, 3) << o.err;
        EXPECT_EQ(faults::IOErrorNumber(o), EROFS) << o.err;
        ExpectKept(before);
    }
    EXPECT_EQ(faults::RunChild({ "save", "C6new" }).exitCode, 0) << "writable again";
    EXPECT_EQ(test::ReadFile(Prefs() / kName), "00C6new");
    std::printf("read-only mount: %d faults injected, 0 files lost\n", faults);
    RecordProperty("faults", faults);
}

TEST(ReadOnlyPreferences, AFolderTheUserMayNotWriteRaisesAndLosesNothing)
{
    std::string why;
    const std::vector<std::string> asNobody = faults::AsOtherUser(why);
    if (asNobody.empty())
        GTEST_SKIP() << why;
    const uid_t nobody = faults::kOtherUser;

    ASSERT_EQ(faults::RunChild({ "save", "C3old" }).exitCode, 0);
    const std::string before = test::ReadFile(Prefs() / kName);
    // The home is the other user's; the Preferences folder and the file in
    // it are root's, readable but not writable by that user.
    for (const auto& entry : fs::recursive_directory_iterator(test::Home()))
        ASSERT_EQ(lchown(entry.path().c_str(), nobody, nobody), 0);
    ASSERT_EQ(chown(test::Home().c_str(), nobody, nobody), 0);
    ASSERT_EQ(chown(Prefs().c_str(), 0, 0), 0);
    ASSERT_EQ(chmod(Prefs().c_str(), 0755), 0);
    ASSERT_EQ(chown((Prefs() / kName).c_str(), 0, 0), 0);
    ASSERT_EQ(chmod((Prefs() / kName).c_str(), 0644), 0);

    faults::Outcome r = faults::RunChild({ "restore" }, 20000, asNobody);
    if (r.exitCode == 126 || r.exitCode == 127 || (r.exitCode != 0 && r.err.find("IOException") == std::string::npos))
        GTEST_SKIP() << "the other user cannot run the child here: " << r.err;
    EXPECT_EQ(r.out, "C3old");

    // The shadow is written in the user's own temporary folder; neither the
    // exchange nor the rename may touch the Preferences folder, and that
    // must reach the caller: a save that quietly did nothing would be taken
    // for done.
    faults::Outcome o = faults::RunChild({ "save", "C4new" }, 20000, asNobody);
    EXPECT_EQ(o.exitCode, 3) << o.err;
    EXPECT_EQ(faults::IOErrorNumber(o), EACCES) << o.err;
    ExpectKept(before);

    // A file the user may not even read has a type they cannot read: an
    // error, not a sign to pass it over for another name.
    ASSERT_EQ(chmod((Prefs() / kName).c_str(), 0600), 0);
    r = faults::RunChild({ "restore" }, 20000, asNobody);
    EXPECT_EQ(faults::IOErrorNumber(r), EACCES) << r.err;
    ExpectKept(before);
    std::printf("folder not writable, file not readable by the user: 2 faults injected, 0 files lost\n");
    RecordProperty("faults", 2);
}
