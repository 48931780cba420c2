#include <framework/FolderItem.h>
#include <framework/Sound.h>

#include "SoundImpl.h"
#include "WaveData.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace fw {

namespace {
// Mac error codes the program may read from LastErrorCode.
constexpr int32_t kFileNotFound = -43;
constexpr int32_t kIOError = -36;
// A sound effect is seconds long; anything near this size is not one.
constexpr off_t kMaxSoundFileBytes = 32 * 1024 * 1024;

// The whole of a regular file of at most kMaxSoundFileBytes.
bool ReadSmallRegularFile(const std::string& path, std::string& bytes, int32_t& error)
{
    // Non-blocking, so that a FIFO under the name cannot hold the open.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = (errno == ENOENT || errno == ENOTDIR) ? kFileNotFound : kIOError;
        return false;
    }
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxSoundFileBytes;
    if (ok) {
        bytes.resize(static_cast<size_t>(st.st_size));
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        // A file that shrank while we read keeps what was there.
        bytes.resize(done);
    }
    close(fd);
    if (!ok)
        error = kIOError;
    return ok;
}
} // namespace

Ref<Sound> FolderItem::OpenAsSound() const
{
    std::string bytes;
    int32_t error = 0;
    if (!ReadSmallRegularFile(NativePath(), bytes, error)) {
        SetLastErrorCode(error);
        return nullptr;
    }
    std::optional<std::string> wave = PlayableWave(bytes);
    if (!wave) {
        SetLastErrorCode(kIOError);
        return nullptr;
    }
    SetLastErrorCode(0);
    return MakeSound(std::move(*wave));
}

} // namespace fw
