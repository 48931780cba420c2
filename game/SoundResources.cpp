#include "game/SoundResources.h"

#include <framework/ApplicationBundle.h>

using namespace fw;

namespace {

// The cache of one sound accessor.
struct SoundCache {
    Ref<Sound> permaSound;
    bool loaded = false;
};

Ref<Sound> Load(SoundCache& cache, const char* fileName)
{
    if (!cache.loaded) {
        // Set before anything is tried: a failure, even an exception, is final.
        cache.loaded = true;
        if (Ref<FolderItem> resources = GetApplicationBundleResources()) {
            Ref<FolderItem> file = resources->Child(fileName);
            cache.permaSound = file->OpenAsSound();
        }
    }
    return cache.permaSound;
}

SoundCache soundVolSnd, hitSnd, nearSnd, outSnd;

} // namespace

Ref<Sound> SoundVolSnd() { return Load(soundVolSnd, "SoundVolSnd.wav"); }
Ref<Sound> HitSnd() { return Load(hitSnd, "HitSnd.wav"); }
Ref<Sound> NearSnd() { return Load(nearSnd, "NearSnd.wav"); }
Ref<Sound> OutSnd() { return Load(outSnd, "OutSnd.wav"); }

void ReleaseSoundCaches()
{
    for (SoundCache* cache : { &soundVolSnd, &hitSnd, &nearSnd, &outSnd })
        cache->permaSound = nullptr;
}
