#pragma once

#include <framework/Picture.h>

// The badge picture "TargetSystemPict.png" from the bundle's Resources
// folder, loaded on first need and kept for the rest of the run; nil while
// it cannot be read, and tried again at the next call.
fw::Ref<fw::Picture> TargetSystemPict();
