#include "audio/AudioTest.h"

#include "common/TestSupport.h"

#include <framework/Runtime.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace audio {

std::unique_ptr<PulseServer> AudioTest::server_;
std::string AudioTest::why_;

namespace {
// A null sink outputs exact zeros when nothing plays.
constexpr int kSilence = 64;
constexpr size_t kTrailingSilence = PulseServer::kRate * 3 / 10;
constexpr auto kLimit = std::chrono::seconds(8);

bool Loud(int16_t s) { return s > kSilence || s < -kSilence; }
} // namespace

void AudioTest::SetUpTestSuite()
{
    server_ = std::make_unique<PulseServer>(test::Home() / "pulse");
    if (!server_->Start()) {
        why_ = server_->Why();
        server_.reset();
    }
}

void AudioTest::TearDownTestSuite() { server_.reset(); }

void AudioTest::SetUp()
{
    if (!server_)
        GTEST_SKIP() << "no PulseAudio server could be started here, so nothing can be heard: " << why_;
}

std::vector<int16_t> AudioTest::Recorded(size_t from) const { return server_->Samples(from, server_->Recorded()); }

size_t AudioTest::WaitUntilSounding(size_t from, double extraSeconds)
{
    auto deadline = std::chrono::steady_clock::now() + kLimit;
    size_t heard = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        fw::ProcessPendingEvents();
        std::vector<int16_t> s = Recorded(from);
        if (!heard) {
            for (size_t i = 0; i < s.size(); ++i)
                if (Loud(s[i])) {
                    heard = from + i;
                    break;
                }
        }
        if (heard && from + s.size() >= heard + static_cast<size_t>(extraSeconds * PulseServer::kRate))
            return heard;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ADD_FAILURE() << "nothing sounded within the time limit";
    return heard;
}

std::vector<int16_t> AudioTest::Capture(const std::function<void()>& play)
{
    size_t from = Now();
    play();
    auto deadline = std::chrono::steady_clock::now() + kLimit;
    while (std::chrono::steady_clock::now() < deadline) {
        fw::ProcessPendingEvents();
        std::vector<int16_t> s = Recorded(from);
        size_t last = s.size();
        while (last > 0 && !Loud(s[last - 1]))
            --last;
        if (last > 0 && s.size() - last >= kTrailingSilence)
            return s;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ADD_FAILURE() << "the sound did not start and end within the time limit";
    return Recorded(from);
}

int Peak(const std::vector<int16_t>& samples)
{
    int peak = 0;
    for (int16_t s : samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}

size_t SoundingSpan(const std::vector<int16_t>& samples)
{
    size_t first = samples.size(), last = 0;
    for (size_t i = 0; i < samples.size(); ++i)
        if (Loud(samples[i])) {
            first = std::min(first, i);
            last = i;
        }
    return first < samples.size() ? last - first + 1 : 0;
}

} // namespace audio
