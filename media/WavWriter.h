#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace horomine::media {

// Encodes mono 16-bit PCM samples as a RIFF/WAVE file.
QByteArray encodeWav(const std::vector<std::int16_t>& samples, int sampleRate);

} // namespace horomine::media
