#pragma once

#include <cstdint>
#include <vector>

namespace horomine::media {

// The game's four sound effects as 44.1 kHz mono 16-bit samples.
std::vector<std::int16_t> makeSoundVolSound(); // volume-setting blip
std::vector<std::int16_t> makeHitSound();      // guess was right on
std::vector<std::int16_t> makeNearSound();     // guess was close
std::vector<std::int16_t> makeOutSound();      // guess was far off

} // namespace horomine::media
