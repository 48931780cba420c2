#include "audio/AudioTest.h"

#include "common/TestSupport.h"

#include <framework/Runtime.h>

#include <chrono>
#include <cstdlib>

namespace audio {

std::unique_ptr<PulseServer> AudioTest::server_;
std::string AudioTest::why_;

namespace {
constexpr auto kLimit = std::chrono::seconds(8);
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
    size_t heard = 0;
    const auto extra = static_cast<size_t>(extraSeconds * PulseServer::kRate);
    if (!WaitFor([&] {
            fw::ProcessPendingEvents();
            std::vector<int16_t> s = Recorded(from);
            for (size_t i = 0; !heard && i < s.size(); ++i)
                heard = PulseServer::Loud(s[i]) ? from + i : 0;
            return heard && from + s.size() >= heard + extra;
        }, kLimit))
        ADD_FAILURE() << "nothing sounded within the time limit";
    return heard;
}

std::vector<int16_t> AudioTest::Capture(const std::function<void()>& play)
{
    size_t from = Now();
    play();
    std::optional<std::vector<int16_t>> heard;
    if (WaitFor([&] {
            fw::ProcessPendingEvents();
            return (heard = server_->Ended(from)).has_value();
        }, kLimit))
        return *heard;
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
        if (PulseServer::Loud(samples[i])) {
            first = std::min(first, i);
            last = i;
        }
    return first < samples.size() ? last - first + 1 : 0;
}

} // namespace audio
