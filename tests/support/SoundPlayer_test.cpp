#include "sound/SoundPlayer.h"

#include <framework/Exceptions.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace fw;

namespace {

// Stands in for the audio device: counts its starts and the volume it had
// at each, and logs them to a journal shared by all sounds of a test.
class CountingSound : public Sound {
public:
    CountingSound(std::string name, std::vector<std::string>* journal)
        : name(std::move(name))
        , journal_(journal)
    {
    }
    void Play() override
    {
        starts.push_back(Volume());
        journal_->push_back(name);
    }
    const std::string name;
    std::vector<int32_t> starts;

private:
    std::vector<std::string>* journal_;
};

// A player on a clock the test sets, with its state open to the test.
class TestPlayer : public SoundPlayer {
public:
    double clock = 1000.0;
    double Now() override { return clock; }

    using SoundPlayer::LastPlayTime;
    using SoundPlayer::PriorityQueue;
    using SoundPlayer::SacrificeSound;
    using SoundPlayer::SoundEnable;
    using SoundPlayer::SoundQueue;
    using SoundPlayer::SoundQueueBound;
    using SoundPlayer::SoundVolume;
    using SoundPlayer::SoundVolumeIndex;
    using SoundPlayer::PriorityMode;

    struct Volumes {
        bool enable;
        int32_t volume, index;
        bool operator==(const Volumes&) const = default;
    };
    Volumes State() const { return { SoundEnable, SoundVolume, SoundVolumeIndex }; }

    std::vector<int32_t> Priorities() const
    {
        return std::vector<int32_t>(PriorityQueue.begin(), PriorityQueue.begin() + (SoundQueueBound + 1));
    }
    // Every slot past the bound is given up: nil sound, priority 0.
    bool TailCleared() const
    {
        for (int32_t i = SoundQueueBound + 1; i < static_cast<int32_t>(SoundQueue.size()); ++i)
            if (SoundQueue[i] || PriorityQueue[i] != 0)
                return false;
        return true;
    }
};

std::ostream& operator<<(std::ostream& os, const TestPlayer::Volumes& v)
{
    return os << "{" << v.enable << ", " << v.volume << ", " << v.index << "}";
}

class SoundPlayerTest : public ::testing::Test {
protected:
    Ref<CountingSound> MakeSound(const std::string& name)
    {
        return New<CountingSound>(name, &journal);
    }
    // Pushes one sound per priority, named after its push ("p1", "p2", ...).
    void PushAll(TestPlayer& p, std::initializer_list<int32_t> priorities)
    {
        for (int32_t prio : priorities)
            p.PushQueue(MakeSound("p" + std::to_string(++pushes)), prio);
    }
    std::vector<std::string> QueueNames(const TestPlayer& p)
    {
        std::vector<std::string> names;
        for (int32_t i = 0; i <= p.SoundQueueBound; ++i)
            names.push_back(Cast<CountingSound>(p.SoundQueue[i])->name);
        return names;
    }

    std::vector<std::string> journal;
    int pushes = 0;
};

const int32_t kVolumes[] = { 100, 70, 50, 35, 25, 17, 12, 8, 6 };
const char* const kCodes[] = { "A", "B", "C", "D", "E", "F", "G", "H", "I" };

} // namespace

TEST_F(SoundPlayerTest, NewPlayer)
{
    TestPlayer p;
    EXPECT_EQ(p.State(), (TestPlayer::Volumes { true, 100, 0 }));
    EXPECT_TRUE(p.RefEnable());
    EXPECT_EQ(p.RefVolume(), 0);
    EXPECT_EQ(p.SaveData(), "A");
    EXPECT_EQ(p.SoundQueueBound, -1);
    EXPECT_TRUE(p.TailCleared());
    EXPECT_FALSE(p.SacrificeSound);
    EXPECT_EQ(p.SacrificeInterval, 0);
    EXPECT_EQ(p.LastPlayTime, 0.0);
    EXPECT_FALSE(p.PriorityMode);
}

TEST_F(SoundPlayerTest, EachAudibleStepPlaysAtItsVolume)
{
    TestPlayer p;
    auto s = MakeSound("s");
    for (int32_t step = 0; step <= 8; ++step) {
        p.SetVolume(step);
        EXPECT_EQ(p.State(), (TestPlayer::Volumes { true, kVolumes[step], step }));
        EXPECT_EQ(p.RefVolume(), step);
        EXPECT_EQ(p.SaveData(), kCodes[step]);
        p.Play(s);
        // The very sound object given keeps the volume it was played at.
        EXPECT_EQ(s->Volume(), kVolumes[step]);
    }
    EXPECT_EQ(s->starts, std::vector<int32_t>(std::begin(kVolumes), std::end(kVolumes)));
}

TEST_F(SoundPlayerTest, MuteAndEveryOutOfRangeStepSilence)
{
    for (int32_t step : { 9, 10, -1, 99, INT32_MIN, INT32_MAX }) {
        TestPlayer p;
        p.SetVolume(step);
        EXPECT_EQ(p.State(), (TestPlayer::Volumes { false, 0, 9 })) << step;
        EXPECT_EQ(p.RefVolume(), 9);
        EXPECT_EQ(p.SaveData(), "0");
        EXPECT_FALSE(p.RefEnable());
    }
}

TEST_F(SoundPlayerTest, SetEnableHasItsOwnTwoStates)
{
    TestPlayer p;
    p.SetVolume(5);
    p.SetEnable(false);
    p.Beep(); // returns, and changes nothing
    EXPECT_EQ(p.State(), (TestPlayer::Volumes { false, 0, 99 }));
    EXPECT_EQ(p.RefVolume(), 99);
    EXPECT_EQ(p.SaveData(), "0");
    // Back on gives the loudest step, not the one before.
    p.SetEnable(true);
    EXPECT_EQ(p.State(), (TestPlayer::Volumes { true, 100, 0 }));
    p.SetVolume(9);
    p.SetEnable(true);
    EXPECT_EQ(p.State(), (TestPlayer::Volumes { true, 100, 0 }));
}

TEST_F(SoundPlayerTest, EveryStepSurvivesSaveAndRestore)
{
    for (int32_t step = 0; step <= 9; ++step) {
        TestPlayer saved;
        saved.SetVolume(step);
        TestPlayer restored;
        restored.SetVolume(step == 0 ? 3 : 0); // something else first
        restored.RestoreData(saved.SaveData());
        EXPECT_EQ(restored.State(), saved.State()) << step;
    }
    // After SetEnable(False) the code restores mute, 9 and not 99.
    TestPlayer off;
    off.SetEnable(false);
    TestPlayer restored;
    restored.RestoreData(off.SaveData());
    EXPECT_EQ(restored.State(), (TestPlayer::Volumes { false, 0, 9 }));
}

TEST_F(SoundPlayerTest, AnyOtherCodeRestoresTheLoudestStep)
{
    for (const std::string& code : std::vector<std::string> { "", "1", "AB", "a", "i", "J", " A", "A ", "9", "00", std::string("A\0", 2) }) {
        TestPlayer p;
        p.SetVolume(9);
        p.RestoreData(code);
        EXPECT_EQ(p.State(), (TestPlayer::Volumes { true, 100, 0 })) << "'" << code << "'";
    }
    TestPlayer p;
    p.RestoreData("0");
    EXPECT_EQ(p.State(), (TestPlayer::Volumes { false, 0, 9 }));
}

TEST_F(SoundPlayerTest, RestoreDataAndPlayQueueGoThroughTheVirtualOperations)
{
    struct Recording : TestPlayer {
        std::vector<int32_t> steps;
        std::vector<Ref<Sound>> played;
        void SetVolume(int32_t step) override
        {
            steps.push_back(step);
            TestPlayer::SetVolume(step);
        }
        void Play(const Ref<Sound>& s) override
        {
            played.push_back(s);
            TestPlayer::Play(s);
        }
    } p;
    for (std::string code : { "C", "0", "x" })
        p.RestoreData(code);
    EXPECT_EQ(p.steps, (std::vector<int32_t> { 2, 9, 0 }));

    auto a = MakeSound("a"), b = MakeSound("b"), idle = MakeSound("idle");
    p.PushQueue(a, 1);
    p.PushQueue(b, 2);
    p.PlayQueue();
    p.SetSacrifice(idle, 0);
    p.clock += 1;
    p.PlayQueue();
    EXPECT_EQ(p.played, (std::vector<Ref<Sound>> { b, a, idle }));
}

TEST_F(SoundPlayerTest, PlayWhileOnSetsTheVolumeStartsAndStampsTheTime)
{
    TestPlayer p;
    p.SetVolume(4);
    auto s = MakeSound("s");
    p.clock = 5e6;
    p.Play(s);
    EXPECT_EQ(s->starts, std::vector<int32_t> { 25 });
    EXPECT_EQ(p.LastPlayTime, 5e6);

    // A real sound object keeps the volume too.
    auto real = New<Sound>();
    p.Play(real);
    EXPECT_EQ(real->Volume(), 25);
}

TEST_F(SoundPlayerTest, PlayWhileOffTouchesNothing)
{
    for (bool viaMute : { true, false }) {
        TestPlayer p;
        auto s = MakeSound("s");
        s->Volume(63);
        p.clock = 7e6;
        if (viaMute)
            p.SetVolume(9);
        else
            p.SetEnable(false);
        p.Play(s);
        EXPECT_TRUE(s->starts.empty());
        EXPECT_EQ(s->Volume(), 63);
        EXPECT_EQ(p.LastPlayTime, 0.0);
        // nil is ignored while sound is off
        EXPECT_NO_THROW(p.Play(nullptr));
    }
}

TEST_F(SoundPlayerTest, NilWhileOnIsSilenceAndChangesNothing)
{
    TestPlayer p;
    auto s = MakeSound("s");
    p.clock = 2e6;
    p.Play(s);
    p.clock = 9e6;
    EXPECT_NO_THROW(p.Play(nullptr));
    EXPECT_EQ(p.LastPlayTime, 2e6);
}

TEST_F(SoundPlayerTest, QueueOrdersByPriorityFirstInFirstOutAmongEquals)
{
    TestPlayer p;
    PushAll(p, { 5, 9, 5, 1, 9 });
    EXPECT_EQ(p.Priorities(), (std::vector<int32_t> { 9, 9, 5, 5, 1 }));
    EXPECT_EQ(QueueNames(p), (std::vector<std::string> { "p2", "p5", "p1", "p3", "p4" }));
    EXPECT_TRUE(p.TailCleared());

    // nil, priority 0 and negative priorities change nothing.
    p.PushQueue(nullptr, 5);
    p.PushQueue(MakeSound("zero"), 0);
    p.PushQueue(MakeSound("negative"), -3);
    p.PushQueue(MakeSound("min"), INT32_MIN);
    EXPECT_EQ(p.Priorities(), (std::vector<int32_t> { 9, 9, 5, 5, 1 }));
    EXPECT_EQ(QueueNames(p), (std::vector<std::string> { "p2", "p5", "p1", "p3", "p4" }));

    // A higher priority goes to the head; INT32_MAX is taken like any other.
    p.PushQueue(MakeSound("top"), INT32_MAX);
    EXPECT_EQ(QueueNames(p).front(), "top");
}

TEST_F(SoundPlayerTest, AFullQueueTurnsEveryPushAway)
{
    TestPlayer p;
    for (int i = 0; i < 16; ++i)
        PushAll(p, { 1 + i % 3 });
    EXPECT_EQ(p.SoundQueueBound, 15);
    auto before = QueueNames(p);
    p.PushQueue(MakeSound("17th"), INT32_MAX);
    p.PushQueue(MakeSound("18th"), 1);
    EXPECT_EQ(p.SoundQueueBound, 15);
    EXPECT_EQ(QueueNames(p), before);
}

TEST_F(SoundPlayerTest, PlayQueueStartsEverythingInOrderAndEmptiesIt)
{
    TestPlayer p;
    PushAll(p, { 2, 8, 1, 5, 5, 3 });
    WeakRef<Sound> held(p.SoundQueue[0]);
    p.clock = 4e6;
    p.PlayQueue();
    EXPECT_EQ(journal, (std::vector<std::string> { "p2", "p4", "p5", "p6", "p1", "p3" }));
    EXPECT_EQ(p.SoundQueueBound, -1);
    EXPECT_TRUE(p.TailCleared());
    EXPECT_EQ(p.LastPlayTime, 4e6);
    // The player let go of what it played.
    EXPECT_TRUE(held.Expired());

    // A single entry, and then an empty queue without a sacrifice sound.
    PushAll(p, { 1 });
    p.PlayQueue();
    p.PlayQueue();
    EXPECT_EQ(journal.size(), 7u);
    EXPECT_EQ(p.SoundQueueBound, -1);
}

TEST_F(SoundPlayerTest, PriorityModeInThreeCalls)
{
    TestPlayer p;
    p.SetPriorityMode(true);
    PushAll(p, { 9, 7, 5, 4, 3, 1 });
    p.PlayQueue();
    EXPECT_EQ(journal, (std::vector<std::string> { "p1", "p2" }));
    EXPECT_EQ(p.Priorities(), (std::vector<int32_t> { 5, 4 }));
    EXPECT_EQ(QueueNames(p), (std::vector<std::string> { "p3", "p4" }));
    EXPECT_TRUE(p.TailCleared());

    p.PlayQueue();
    EXPECT_EQ(journal.back(), "p3");
    EXPECT_EQ(QueueNames(p), (std::vector<std::string> { "p4" }));

    p.PlayQueue();
    EXPECT_EQ(journal, (std::vector<std::string> { "p1", "p2", "p3", "p4" }));
    EXPECT_EQ(p.SoundQueueBound, -1);
    EXPECT_TRUE(p.TailCleared());
}

TEST_F(SoundPlayerTest, PriorityBandsBehindTheHead)
{
    TestPlayer p;
    p.SetPriorityMode(true);
    // Behind the head, 7 plays, 6 and 4 stay, 3 and 2 go.
    PushAll(p, { 2, 7, 6, 4, 3, 9 }); // queue: p6(9) p2(7) p3(6) p4(4) p5(3) p1(2)
    p.PlayQueue();
    EXPECT_EQ(journal, (std::vector<std::string> { "p6", "p2" }));
    EXPECT_EQ(QueueNames(p), (std::vector<std::string> { "p3", "p4" }));
    EXPECT_EQ(p.Priorities(), (std::vector<int32_t> { 6, 4 }));

    // A head of priority 1 plays; with nothing kept the queue ends empty.
    // Nothing kept: the queue ends empty, all slots cleared.
    TestPlayer q;
    q.SetPriorityMode(true);
    PushAll(q, { 1 });
    q.PlayQueue();
    EXPECT_EQ(journal.back(), "p7");
    PushAll(q, { 9, 8, 3, 2 });
    q.PlayQueue();
    EXPECT_EQ(q.SoundQueueBound, -1);
    EXPECT_TRUE(q.TailCleared());
}

TEST_F(SoundPlayerTest, SoundOffConsumesTheQueueSilently)
{
    for (bool priorityMode : { false, true }) {
        TestPlayer p;
        p.SetPriorityMode(priorityMode);
        p.SetVolume(9);
        p.clock = 8e6;
        PushAll(p, { 9, 7, 5, 4, 3, 1 });
        p.PlayQueue();
        EXPECT_TRUE(journal.empty());
        EXPECT_EQ(p.LastPlayTime, 0.0);
        EXPECT_EQ(p.Priorities(), priorityMode ? (std::vector<int32_t> { 5, 4 }) : std::vector<int32_t> {});
        EXPECT_TRUE(p.TailCleared());
    }
}

TEST_F(SoundPlayerTest, SacrificeSoundAfterTheIntervalStrictly)
{
    TestPlayer p;
    auto idle = MakeSound("idle");
    p.SetSacrifice(idle, 30);
    p.clock = 10e6;
    p.Play(MakeSound("last"));
    p.clock = 10e6 + 3000000; // exactly the interval: not enough
    p.PlayQueue();
    EXPECT_TRUE(idle->starts.empty());
    p.clock += 1;
    p.PlayQueue();
    EXPECT_EQ(idle->starts.size(), 1u);
    EXPECT_EQ(p.LastPlayTime, 13000001.0);
    // Its own start counts as the last sound.
    p.PlayQueue();
    EXPECT_EQ(idle->starts.size(), 1u);

    // Not while the queue holds anything: the queue plays instead.
    p.clock += 4e6;
    PushAll(p, { 1 });
    p.PlayQueue();
    EXPECT_EQ(idle->starts.size(), 1u);

    // nil stops the idle sound.
    p.SetSacrifice(nullptr, 0);
    p.clock += 1e9;
    p.PlayQueue();
    EXPECT_EQ(idle->starts.size(), 1u);
}

TEST_F(SoundPlayerTest, SacrificeWithIntervalZeroAndOnANewPlayer)
{
    TestPlayer p;
    auto idle = MakeSound("idle");
    p.SetSacrifice(idle, 0);
    // Never played (LastPlayTime 0): plays once the clock passes the interval.
    p.clock = 0;
    p.PlayQueue();
    EXPECT_TRUE(idle->starts.empty());
    p.clock = 0.5;
    p.PlayQueue();
    EXPECT_EQ(idle->starts.size(), 1u);
    // Interval 0: every idle call at which the clock has moved on.
    p.PlayQueue();
    EXPECT_EQ(idle->starts.size(), 1u);
    p.clock = 1;
    p.PlayQueue();
    EXPECT_EQ(idle->starts.size(), 2u);

    // With sound off it is consumed and the time stays.
    p.SetEnable(false);
    p.clock = 50;
    p.PlayQueue();
    EXPECT_EQ(idle->starts.size(), 2u);
    EXPECT_EQ(p.LastPlayTime, 1.0);
}

TEST_F(SoundPlayerTest, IntervalsOfAnySizeAreTakenWithoutHarm)
{
    TestPlayer p;
    auto idle = MakeSound("idle");
    // A negative interval: any idle call plays.
    p.SetSacrifice(idle, -5);
    p.PlayQueue();
    EXPECT_EQ(idle->starts.size(), 1u);
    // Longer than the 32-bit product can hold (21475 * 100000 > 2^31 - 1):
    // it waits the full interval instead of wrapping round to negative.
    p.SetSacrifice(idle, 21475);
    p.clock = p.LastPlayTime + 2147500000.0;
    p.PlayQueue();
    EXPECT_EQ(idle->starts.size(), 1u);
    p.clock += 1;
    p.PlayQueue();
    EXPECT_EQ(idle->starts.size(), 2u);
    p.SacrificeInterval = INT32_MIN;
    p.PlayQueue();
    EXPECT_EQ(idle->starts.size(), 3u);
}

TEST_F(SoundPlayerTest, ThePublicIntervalMayBeSetByAPropertyRecord)
{
    TestPlayer p;
    SoundPlayer::Record().FindProperty("SacrificeInterval")->Setter(p, Value(int32_t { 45 }));
    EXPECT_EQ(p.SacrificeInterval, 45);
}
