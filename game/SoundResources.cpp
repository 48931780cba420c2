#include "game/SoundResources.h"

#include <framework/ApplicationBundle.h>
#include <framework/Dispatch.h>
#include <framework/FolderItem.h>

#include <cerrno>
#include <cstring>
#include <string>

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
        auto without = [](const std::string& what) { ReportError(what + "; the game goes on without this sound"); };
        Ref<FolderItem> resources = GetApplicationBundleResources();
        if (!resources) {
            without(std::string("no Resources folder beside the program to read ") + fileName + " from");
            return nullptr;
        }
        Ref<FolderItem> file = resources->Child(fileName);
        cache.permaSound = file->OpenAsSound();
        if (!cache.permaSound) {
            const int32_t err = file->LastErrorCode();
            // EINVAL: no sound we can play, or no regular file (a folder
            // or a FIFO of the sound's name).
            without("cannot use the sound " + file->NativePath() + ": "
                + (err == EINVAL ? "not a WAV sound that can be played" : std::strerror(err)));
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
