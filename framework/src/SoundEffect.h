#pragma once

#include <string>

namespace fw::detail {

// One sound effect on the desktop's sound output. The output lives in a
// module of its own (libhoromine-sound.so, beside the framework), loaded
// when the first sound is opened: the sound system's libraries cost a
// program that never sounds a fifth of its start-up time.
class SoundEffect {
public:
    virtual ~SoundEffect() = default;
    // Linear gain, 0.0 to 1.0.
    virtual void SetVolume(float gain) = 0;
    // Starts the sound from its beginning, also while it still sounds.
    virtual void Restart() = 0;
};

// The module's entry points. The first makes an effect on a plain 16-bit PCM
// WAV held in memory; loading starts at once, and a Restart before it is
// done is held until the sound is ready.
using MakeSoundEffectFunction = SoundEffect* (*)(const std::string& wave);
// The second handles the toolkit's events until no sample of the module's
// effects is still loading, those of effects already deleted included, or
// until limitMs have passed; answers whether none is. The toolkit's sample
// cache, torn down after the toolkit, hangs the exit while a sample loads.
using SettleSoundEffectsFunction = bool (*)(int limitMs);
inline constexpr const char* kSoundModule = "libhoromine-sound.so";
inline constexpr const char* kMakeSoundEffect = "horomine_make_sound_effect";
inline constexpr const char* kSettleSoundEffects = "horomine_settle_sound_effects";

} // namespace fw::detail
