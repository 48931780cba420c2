#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace horomine::media {

namespace {

double raisedCosine(double t)
{
    // 0 at t = 0, 1 at t = 1, with zero slope at both ends.
    return 0.5 - 0.5 * std::cos(std::numbers::pi * std::clamp(t, 0.0, 1.0));
}

} // namespace

Synth::Synth(double seconds)
    : buffer_(static_cast<std::size_t>(std::lround(seconds * kSampleRate)), 0.0)
{
}

void Synth::addNote(double start, double length, double frequency, double level,
                    const std::vector<Partial>& partials, double attackSeconds, double decaySeconds)
{
    const auto first = static_cast<std::size_t>(std::lround(start * kSampleRate));
    const auto count = static_cast<std::size_t>(std::lround(length * kSampleRate));
    const double nyquist = kSampleRate / 2.0;
    for (std::size_t i = 0; i < count && first + i < buffer_.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double attack = raisedCosine(t / attackSeconds);
        double v = 0.0;
        for (const Partial& p : partials) {
            const double f = frequency * p.ratio;
            if (f >= nyquist * 0.9)
                continue;
            const double decay = std::exp(-t * p.decayScale / decaySeconds);
            v += p.amplitude * decay * std::sin(2.0 * std::numbers::pi * f * t);
        }
        buffer_[first + i] += level * attack * v;
    }
}

void Synth::addGlide(double start, double length, double fromHz, double toHz, double level, double endGain,
                     const std::vector<Partial>& partials, double attackSeconds, double releaseSeconds)
{
    const auto first = static_cast<std::size_t>(std::lround(start * kSampleRate));
    const auto count = static_cast<std::size_t>(std::lround(length * kSampleRate));
    double phase = 0.0; // in cycles of the fundamental
    for (std::size_t i = 0; i < count && first + i < buffer_.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double progress = t / length;
        const double frequency = fromHz * std::pow(toHz / fromHz, progress);
        const double envelope = raisedCosine(t / attackSeconds) * raisedCosine((length - t) / releaseSeconds)
                                * std::pow(endGain, progress);
        double v = 0.0;
        for (const Partial& p : partials)
            v += p.amplitude * std::exp(-t * (p.decayScale - 1.0) / length)
                 * std::sin(2.0 * std::numbers::pi * p.ratio * phase);
        buffer_[first + i] += level * envelope * v;
        phase += frequency / kSampleRate;
    }
}

void Synth::fadeEdges(double fadeInSeconds, double fadeOutSeconds)
{
    const auto n = buffer_.size();
    const auto fadeIn = static_cast<std::size_t>(fadeInSeconds * kSampleRate);
    const auto fadeOut = static_cast<std::size_t>(fadeOutSeconds * kSampleRate);
    for (std::size_t i = 0; i < n; ++i) {
        double g = 1.0;
        if (i < fadeIn)
            g *= raisedCosine(static_cast<double>(i) / static_cast<double>(fadeIn));
        if (n - 1 - i < fadeOut)
            g *= raisedCosine(static_cast<double>(n - 1 - i) / static_cast<double>(fadeOut));
        buffer_[i] *= g;
    }
}

std::vector<std::int16_t> Synth::toPcm16(double peakDbfs) const
{
    double peak = 0.0;
    for (double v : buffer_)
        peak = std::max(peak, std::abs(v));
    const double target = std::pow(10.0, peakDbfs / 20.0) * 32767.0;
    const double gain = peak > 0.0 ? target / peak : 0.0;

    std::vector<std::int16_t> out;
    out.reserve(buffer_.size());
    for (double v : buffer_) {
        const long s = std::lround(v * gain);
        out.push_back(static_cast<std::int16_t>(std::clamp(s, -32767L, 32767L)));
    }
    return out;
}

} // namespace horomine::media
