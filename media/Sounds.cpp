#include "Sounds.h"

#include "Synth.h"

namespace horomine::media {

namespace {

constexpr double kPeakDbfs = -3.0;

// Equal-tempered pitches used below.
constexpr double kE5 = 659.26;
constexpr double kG5 = 783.99;
constexpr double kA5 = 880.00;
constexpr double kC6 = 1046.50;
constexpr double kE6 = 1318.51;
constexpr double kG6 = 1567.98;
constexpr double kC7 = 2093.00;

} // namespace

std::vector<std::int16_t> makeSoundVolSound()
{
    // A pure, steady sine: the volume preview must have a flat sustained
    // part so that its loudness tracks the volume setting exactly.
    Synth s(0.110);
    s.addGlide(0.0, 0.110, kA5, kA5, 1.0, 1.0, {{1.0, 1.0}}, 0.010, 0.015);
    return s.toPcm16(kPeakDbfs);
}

std::vector<std::int16_t> makeHitSound()
{
    // Rising major arpeggio with a slightly inharmonic, bell-like timbre.
    const std::vector<Partial> bell{
        {1.0, 1.0, 1.0}, {2.0, 0.42, 1.6}, {3.0, 0.20, 2.4}, {4.07, 0.10, 3.2}, {5.43, 0.04, 4.0}};
    Synth s(0.620);
    s.addNote(0.000, 0.620, kC6, 0.70, bell, 0.004, 0.20);
    s.addNote(0.075, 0.545, kE6, 0.70, bell, 0.004, 0.20);
    s.addNote(0.150, 0.470, kG6, 0.70, bell, 0.004, 0.22);
    s.addNote(0.225, 0.395, kC7, 0.85, bell, 0.004, 0.26);
    s.fadeEdges(0.003, 0.080);
    return s.toPcm16(kPeakDbfs);
}

std::vector<std::int16_t> makeNearSound()
{
    // A soft falling "so close" two-note, mostly fundamental.
    const std::vector<Partial> soft{{1.0, 1.0, 1.0}, {2.0, 0.22, 1.8}, {3.0, 0.06, 2.6}};
    Synth s(0.400);
    s.addNote(0.000, 0.400, kA5, 0.75, soft, 0.008, 0.14);
    s.addNote(0.130, 0.270, kE5, 0.85, soft, 0.008, 0.16);
    s.addNote(0.130, 0.270, kG5 * 0.5, 0.15, soft, 0.012, 0.16);
    s.fadeEdges(0.005, 0.060);
    return s.toPcm16(kPeakDbfs);
}

std::vector<std::int16_t> makeOutSound()
{
    // A low tone sagging by an octave; odd harmonics give it a dull buzz
    // that still carries on small speakers.
    const std::vector<Partial> dull{{1.0, 1.0, 1.0}, {2.0, 0.18, 2.0}, {3.0, 0.30, 2.5}, {5.0, 0.10, 4.0}};
    Synth s(0.420);
    s.addGlide(0.0, 0.420, 262.0, 131.0, 1.0, 0.35, dull, 0.010, 0.090);
    return s.toPcm16(kPeakDbfs);
}

} // namespace horomine::media
