#pragma once

#include <framework/Picture.h>

// The game's pictures, each read from its file in the bundle's Resources
// folder on first need and kept for the rest of the run. Each answers nil
// while its file cannot be read, and tries again at the next call. The
// marker and result pictures draw their pure white as transparent.
fw::Ref<fw::Picture> IconPict();
fw::Ref<fw::Picture> TamberlynPict();
fw::Ref<fw::Picture> MarkerPict();
fw::Ref<fw::Picture> Back0Pict();
fw::Ref<fw::Picture> Back1Pict();
fw::Ref<fw::Picture> Back2Pict();
fw::Ref<fw::Picture> Back3Pict();
fw::Ref<fw::Picture> Back4Pict();
fw::Ref<fw::Picture> HitPict();
fw::Ref<fw::Picture> NearPict();
