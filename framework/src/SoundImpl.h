#pragma once

#include <framework/Sound.h>

#include "SoundEffect.h"

#include <memory>
#include <string>

namespace fw {

struct Sound::Impl {
    // A plain 16-bit PCM WAV file in memory (see PlayableWave), until the
    // effect is made from it.
    std::string wave;
    std::unique_ptr<detail::SoundEffect> effect;

    // The effect, made on the first need while the toolkit runs; nil without
    // the toolkit or the sound module.
    detail::SoundEffect* Effect();
};

// A sound that plays the given WAV bytes, which PlayableWave has made.
Ref<Sound> MakeSound(std::string playableWave);

namespace detail {
// At exit, while the toolkit stands: waits, a few seconds at most, until no
// sound still loads its sample (see SettleSoundEffectsFunction); reports on
// standard error when one still does.
void SettleSounds();
} // namespace detail

} // namespace fw
