#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fw {

// Reads a RIFF/WAVE file (PCM of 8, 16, 24 or 32 bits, or 32/64-bit float,
// plain or in the extensible layout, 1 to 8 channels) and answers the same
// sound as a plain 16-bit PCM WAV file followed by a quarter second of
// silence. The toolkit's player stops its output stream as soon as it has
// handed over the last sample, dropping whatever the device still buffers;
// the silence is what gets dropped instead of the end of the sound.
// Answers nothing for anything else: not a WAV file, a format we cannot
// play, or no whole sample frame.
std::optional<std::string> PlayableWave(std::string_view file);

} // namespace fw
