#include <framework/FolderItem.h>
#include <framework/Sound.h>

#include "FileBytes.h"
#include "SoundImpl.h"
#include "WaveData.h"

#include <fcntl.h>

#include <cerrno>

#include <string>

namespace fw {

namespace {
// A sound effect is seconds long; anything near this size is not one.
constexpr uint64_t kMaxSoundFileBytes = 32 * 1024 * 1024;
} // namespace

Ref<Sound> FolderItem::OpenAsSound() const
{
    std::string bytes;
    if (int err = ReadRegularFile(AT_FDCWD, NativePath(), kMaxSoundFileBytes, bytes)) {
        SetLastErrorCode(err);
        return nullptr;
    }
    std::optional<std::string> wave = PlayableWave(bytes);
    if (!wave) {
        SetLastErrorCode(EINVAL); // not a WAV we can read
        return nullptr;
    }
    SetLastErrorCode(0);
    return MakeSound(std::move(*wave));
}

} // namespace fw
