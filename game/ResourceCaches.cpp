#include "game/ResourceCaches.h"

#include "game/CursorResources.h"
#include "game/SoundResources.h"

void ReleaseResourceCaches()
{
    ReleaseSoundCaches();
    ReleaseCursorCaches();
}
