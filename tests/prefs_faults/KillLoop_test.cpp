#include "Child.h"
#include "LoopValues.h"

#include "common/TestSupport.h"

#include <framework/FolderItem.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <thread>

using namespace fw;
namespace fs = std::filesystem;

namespace {

const std::string kName = "ほろみねの設定";
const int kKills = 200;

fs::path Settings() { return test::Home() / ".config" / kName; }

struct Tally {
    int kills = 0;
    int leftWhole = 0;   // a shadow left behind holding a whole settings file
    int leftPartial = 0; // a shadow left behind cut short
};

// Kills children that save one string after another at random moments;
// after every kill the settings file must hold exactly one string that the
// child wrote, behind the mark, stamped so that the next run finds it.
void KillWhileSaving(const std::vector<std::string>& options, Tally& tally)
{
    ASSERT_EQ(faults::RunChild({ "save", faults::LoopValue(0, 0) }).exitCode, 0);
    fs::path temporary = New<FolderItem>(Settings().string())->TemporaryFolder()->NativePath();

    uint32_t seed = static_cast<uint32_t>(std::random_device {}());
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> pause(0, 12000); // microseconds
    testing::Test::RecordProperty("random_seed", std::to_string(seed));

    for (uint32_t k = 1; k <= kKills; ++k) {
        std::vector<std::string> argv { PREFS_CHILD };
        argv.insert(argv.end(), options.begin(), options.end());
        argv.insert(argv.end(), { "loop", std::to_string(k) });
        faults::Child child(argv);
        ASSERT_TRUE(child.Started());
        ASSERT_TRUE(child.WaitForLine("ready", 20000)) << "child " << k << " did not get through its first save: "
                                                       << child.Wait(1000).err;
        std::this_thread::sleep_for(std::chrono::microseconds(pause(rng)));
        child.Kill(SIGKILL);
        faults::Outcome end = child.Wait(20000);
        ASSERT_EQ(end.signal, SIGKILL) << "child " << k << " ended otherwise: " << end.err;
        ++tally.kills;

        ASSERT_TRUE(fs::exists(Settings())) << "after kill " << k << " (seed " << seed << ")";
        std::string bytes = test::ReadFile(Settings());
        uint32_t writer = 0, place = 0;
        ASSERT_EQ(bytes.substr(0, 2), "00") << "after kill " << k;
        ASSERT_TRUE(faults::ParseLoopValue(bytes.substr(2), writer, place))
            << "after kill " << k << " the file holds " << bytes.size() << " bytes that no child wrote whole";
        // The child got through one save before it was killed, so nothing
        // older than its own strings may stand.
        ASSERT_EQ(writer, k) << "after kill " << k << " an older string came back";
        ASSERT_GE(place, 1u);
        ASSERT_EQ(test::TypeAndCreator(Settings()), "PREFHRMN") << "after kill " << k;

        // Each save clears what earlier kills left: at most the shadow of
        // the save just killed remains.
        ASSERT_LE(test::Entries(temporary), 1u) << "after kill " << k;
        for (const auto& entry : fs::directory_iterator(temporary)) {
            std::string left = test::ReadFile(entry.path());
            uint32_t s = 0, i = 0;
            if (left.size() > 2 && left.substr(0, 2) == "00" && faults::ParseLoopValue(left.substr(2), s, i))
                ++tally.leftWhole;
            else
                ++tally.leftPartial;
        }
    }
    // The next run reads what the last kill left, and its save leaves
    // nothing behind.
    faults::Outcome last = faults::RunChild({ "restore" });
    EXPECT_EQ(last.exitCode, 0);
    EXPECT_EQ("00" + last.out, test::ReadFile(Settings()));
    EXPECT_EQ(faults::RunChild({ "save", "C1" }).exitCode, 0);
    EXPECT_TRUE(fs::is_empty(temporary));
}

void Report(const char* what, const Tally& t)
{
    std::printf("%s: %d kills survived; %d left a whole shadow behind, %d a shadow cut short, each cleared by the next save; 0 files lost\n", what,
        t.kills, t.leftWhole, t.leftPartial);
    testing::Test::RecordProperty("kills", t.kills);
    testing::Test::RecordProperty("shadows_left_whole", t.leftWhole);
    testing::Test::RecordProperty("shadows_left_partial", t.leftPartial);
}

} // namespace

TEST(KillLoop, EveryKillLeavesOneWholeSettingsFileWithTheExchange)
{
    Tally tally;
    KillWhileSaving({}, tally);
    Report("exchange", tally);
}

TEST(KillLoop, EveryKillLeavesOneWholeSettingsFileWithTheRenameFallBack)
{
    if (faults::RunChild({ "--no-exchange", "restore" }).exitCode == 6)
        GTEST_SKIP() << "the exchange cannot be refused on this machine (no seccomp filter for it)";
    Tally tally;
    KillWhileSaving({ "--no-exchange" }, tally);
    Report("rename fall-back", tally);
}

TEST(KillLoop, TwoCopiesSavingAtOnceNeverMixAndTheirShadowsGoWithTheNextSave)
{
    ASSERT_EQ(faults::RunChild({ "save", faults::LoopValue(0, 0) }).exitCode, 0);
    faults::Child one({ PREFS_CHILD, "loop", "1" }), two({ PREFS_CHILD, "loop", "2" });
    ASSERT_TRUE(one.WaitForLine("ready", 20000) && two.WaitForLine("ready", 20000));
    // Read what the two leave while they replace each other's files.
    int seen[3] = {}, reads = 0;
    for (; reads < 40000 && (seen[1] < 2000 || seen[2] < 2000); ++reads) {
        std::string bytes = test::ReadFile(Settings());
        uint32_t writer = 0, place = 0;
        ASSERT_TRUE(bytes.substr(0, 2) == "00" && faults::ParseLoopValue(bytes.substr(2), writer, place))
            << "read " << reads << ": " << bytes.size() << " bytes that no one wrote whole";
        ++seen[writer];
    }
    for (faults::Child* copy : { &one, &two }) {
        copy->Kill(SIGKILL);
        copy->Wait(20000);
    }
    EXPECT_GT(seen[1] * seen[2], 0);
    fs::path temporary = New<FolderItem>(Settings().string())->TemporaryFolder()->NativePath();
    EXPECT_LE(test::Entries(temporary), 2u);
    ASSERT_EQ(faults::RunChild({ "save", "C1" }).exitCode, 0);
    EXPECT_TRUE(fs::is_empty(temporary));
    std::printf("two copies saving at once: %d reads, %d and %d of each, 0 mixed\n", reads, seen[1], seen[2]);
    RecordProperty("reads", reads);
}
