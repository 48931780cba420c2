#include "WavWriter.h"

namespace horomine::media {

namespace {

void putLe32(QByteArray& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void putLe16(QByteArray& out, std::uint16_t v)
{
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}

} // namespace

QByteArray encodeWav(const std::vector<std::int16_t>& samples, int sampleRate)
{
    constexpr std::uint16_t channels = 1;
    constexpr std::uint16_t bitsPerSample = 16;
    constexpr std::uint16_t blockAlign = channels * bitsPerSample / 8;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * blockAlign);

    QByteArray out;
    out.reserve(static_cast<qsizetype>(44 + dataBytes));
    out.append("RIFF", 4);
    putLe32(out, 36 + dataBytes);
    out.append("WAVE", 4);

    out.append("fmt ", 4);
    putLe32(out, 16);
    putLe16(out, 1); // PCM
    putLe16(out, channels);
    putLe32(out, static_cast<std::uint32_t>(sampleRate));
    putLe32(out, static_cast<std::uint32_t>(sampleRate) * blockAlign);
    putLe16(out, blockAlign);
    putLe16(out, bitsPerSample);

    out.append("data", 4);
    putLe32(out, dataBytes);
    for (std::int16_t s : samples)
        putLe16(out, static_cast<std::uint16_t>(s));
    // 16-bit mono data is always an even number of bytes, so no pad byte.
    return out;
}

} // namespace horomine::media
