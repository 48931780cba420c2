#pragma once

#include <cstdint>
#include <vector>

namespace horomine::media {

// One overtone of a voice: frequency ratio to the fundamental, relative
// amplitude, and how much faster than the fundamental it dies away.
struct Partial {
    double ratio;
    double amplitude;
    double decayScale = 1.0;
};

// A floating-point mono mix buffer with the few voices our sounds need.
class Synth {
public:
    static constexpr int kSampleRate = 44100;

    explicit Synth(double seconds);

    // A struck note: short linear attack, then exponential decay with time
    // constant `decaySeconds` (each partial decays decayScale times faster).
    void addNote(double start, double length, double frequency, double level,
                 const std::vector<Partial>& partials, double attackSeconds, double decaySeconds);

    // A held tone whose pitch glides exponentially from `fromHz` to `toHz`
    // while its level moves exponentially from `level` to `level * endGain`.
    void addGlide(double start, double length, double fromHz, double toHz, double level, double endGain,
                  const std::vector<Partial>& partials, double attackSeconds, double releaseSeconds);

    // Raised-cosine fades at both ends so playback never clicks.
    void fadeEdges(double fadeInSeconds, double fadeOutSeconds);

    // Scales to the given peak level and rounds to 16-bit samples.
    std::vector<std::int16_t> toPcm16(double peakDbfs) const;

private:
    std::vector<double> buffer_;
};

} // namespace horomine::media
