#pragma once

#include "audio/PulseServer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace audio {

// Each test program runs against a PulseAudio server of its own, started
// before its first sound and stopped at its end, whatever the outcome.
class AudioTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // Runs play, then records until what it started has sounded and been
    // followed by silence; the toolkit's events are handled meanwhile.
    std::vector<int16_t> Capture(const std::function<void()>& play);
    // Records until something sounds, then for the given extra time.
    size_t WaitUntilSounding(size_t from, double extraSeconds);
    std::vector<int16_t> Recorded(size_t from) const;
    size_t Now() const { return server_->Recorded(); }

    static std::unique_ptr<PulseServer> server_;
    static std::string why_;
};

int Peak(const std::vector<int16_t>& samples);
// Samples between the first and the last one that is not silent.
size_t SoundingSpan(const std::vector<int16_t>& samples);

} // namespace audio
