#pragma once

#include <framework/Ref.h>

namespace fw {
class Sound;
}

// The game's sounds, each read from its file in the bundle's Resources
// folder at its first call of the run and kept; a sound that could not be
// read then stays nil for the whole run.
fw::Ref<fw::Sound> SoundVolSnd();
fw::Ref<fw::Sound> HitSnd();
fw::Ref<fw::Sound> NearSnd();
fw::Ref<fw::Sound> OutSnd();

// Empties the four caches, in the order above; the sounds are not tried
// again afterwards.
void ReleaseSoundCaches();
