#include "audio/AudioTest.h"

#include "common/TestSupport.h"
#include "common/WaveBytes.h"
#include "sound/SoundPlayer.h"

#include <framework/FolderItem.h>
#include <framework/Sound.h>

#include <framework/Runtime.h>

#include <chrono>
#include <iostream>
#include <thread>

using namespace audio;
using namespace fw;

namespace {

constexpr int kRate = PulseServer::kRate;
constexpr double kHalfScale = 16383;

class SoundThroughServer : public AudioTest {
protected:
    Ref<Sound> OpenWave(const std::string& name, const std::string& bytes)
    {
        test::WriteFile(test::Home() / name, bytes);
        return New<FolderItem>((test::Home() / name).string())->OpenAsSound();
    }
};

// What was heard, as runs of 10 ms windows of one level: 0 silent, 1 the
// soft lead-in, 2 the loud body of the marked tone below.
struct LevelRun {
    int level;
    int windows;
};

std::vector<LevelRun> Runs(const std::vector<int16_t>& samples)
{
    const size_t window = kRate / 100;
    std::vector<LevelRun> runs;
    for (size_t i = 0; i + window <= samples.size(); i += window) {
        int peak = Peak(std::vector<int16_t>(samples.begin() + i, samples.begin() + i + window));
        int level = peak < 64 ? 0 : peak < 0.4 * 32767 ? 1 : 2;
        if (!runs.empty() && runs.back().level == level)
            ++runs.back().windows;
        else
            runs.push_back({ level, 1 });
    }
    return runs;
}

// The sounding runs of 3 windows or more; shorter ones are the seams.
std::vector<LevelRun> SteadyRuns(const std::vector<int16_t>& samples)
{
    std::vector<LevelRun> steady;
    for (LevelRun run : Runs(samples))
        if (run.level != 0 && run.windows >= 3)
            steady.push_back(run);
    return steady;
}

std::string Describe(const std::vector<int16_t>& samples)
{
    std::string seen = "heard (level x 10 ms):";
    for (LevelRun run : Runs(samples))
        seen += " " + std::to_string(run.level) + "x" + std::to_string(run.windows);
    return seen;
}

} // namespace

// The player's volume steps reach the speaker: step 4 (25) sounds at a
// quarter of the level of step 0 (100).
TEST_F(SoundThroughServer, PlayerStepsScaleWhatIsHeard)
{
    const double seconds = 0.4;
    Ref<Sound> tone = OpenWave("tone.wav", test::Wave(test::Sine(440, seconds, 0.5, kRate), kRate));
    ASSERT_TRUE(tone);
    SoundPlayer player;

    // Played at once after opening: the first Play must already sound.
    std::vector<int16_t> loud = Capture([&] { player.Play(tone); });
    player.SetVolume(4);
    std::vector<int16_t> soft = Capture([&] { player.Play(tone); });

    int p0 = Peak(loud), p4 = Peak(soft);
    ASSERT_GT(p4, 0) << "step 4 was silent";
    double ratio = static_cast<double>(p0) / p4;
    std::cout << "peak at step 0: " << p0 << ", at step 4: " << p4 << ", ratio " << ratio << std::endl;
    RecordProperty("peak_ratio", std::to_string(ratio));
    EXPECT_NEAR(p0, kHalfScale, kHalfScale * 0.02) << "step 0 should play at the file's own level";
    EXPECT_NEAR(ratio, 4.0, 0.4);

    // The whole sound is heard, its end included.
    EXPECT_GE(SoundingSpan(loud), static_cast<size_t>(seconds * kRate * 0.97));
    EXPECT_LE(SoundingSpan(loud), static_cast<size_t>(seconds * kRate * 1.1));
}

// Played again while it sounds, a sound starts over from its beginning.
TEST_F(SoundThroughServer, ReplayWhileSoundingStartsOver)
{
    // A soft lead-in of 0.1 s marks every start, then 0.5 s at full level.
    std::vector<double> lead = test::Sine(440, 0.1, 0.2, kRate);
    std::vector<double> body = test::Sine(440, 0.5, 0.6, kRate);
    lead.insert(lead.end(), body.begin(), body.end());
    Ref<Sound> tone = OpenWave("marked.wav", test::Wave(lead, kRate));
    ASSERT_TRUE(tone);

    size_t from = Now();
    tone->Play();
    // Into the loud part, then again.
    WaitUntilSounding(from, 0.25);
    Capture([&] { tone->Play(); });
    std::vector<int16_t> all = Recorded(from);

    std::vector<LevelRun> heard = SteadyRuns(all);
    ASSERT_EQ(heard.size(), 4u) << Describe(all);
    EXPECT_EQ(heard[0].level, 1) << Describe(all);
    EXPECT_EQ(heard[1].level, 2) << Describe(all);
    EXPECT_EQ(heard[2].level, 1) << Describe(all);
    EXPECT_EQ(heard[3].level, 2) << Describe(all);
    // The first body was cut short by the new start, the second plays out.
    EXPECT_LT(heard[1].windows, 45) << Describe(all);
    EXPECT_GE(heard[3].windows, 47) << Describe(all);

    // Ten starts in quick succession, the event loop running between them:
    // the last one plays out whole.
    from = Now();
    for (int i = 0; i < 10; ++i) {
        tone->Play();
        for (int k = 0; k < 5; ++k) {
            ProcessPendingEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    Capture([] {});
    all = Recorded(from);
    heard = SteadyRuns(all);
    ASSERT_GE(heard.size(), 2u) << Describe(all);
    EXPECT_EQ(heard[heard.size() - 2].level, 1) << Describe(all);
    EXPECT_EQ(heard.back().level, 2) << Describe(all);
    EXPECT_GE(heard.back().windows, 47) << Describe(all);
}

// Every encoding the reader takes plays at the level its samples hold.
TEST_F(SoundThroughServer, EveryEncodingSoundsAlike)
{
    struct Case {
        const char* what;
        uint16_t tag, bits, channels;
        uint32_t rate;
    };
    const Case cases[] = {
        { "16-bit", 1, 16, 1, 44100 },
        { "8-bit", 1, 8, 1, 44100 },
        { "24-bit", 1, 24, 1, 44100 },
        { "32-bit", 1, 32, 1, 44100 },
        { "32-bit float", 3, 32, 1, 44100 },
        { "64-bit float", 3, 64, 1, 44100 },
        { "16-bit stereo", 1, 16, 2, 44100 },
        { "extensible 16-bit", 0xFFFE, 16, 2, 44100 },
        { "16-bit at 22050 Hz", 1, 16, 1, 22050 },
    };
    for (const Case& c : cases) {
        Ref<Sound> s = OpenWave("enc.wav", test::Wave(test::Sine(440, 0.15, 0.5, c.rate), c.rate, c.tag, c.bits, c.channels));
        ASSERT_TRUE(s) << c.what;
        int peak = Peak(Capture([&] { s->Play(); }));
        EXPECT_NEAR(peak, kHalfScale, kHalfScale * 0.03) << c.what;
    }
}
