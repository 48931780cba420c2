#include <carbon/FolderHandle.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace carbon {

FolderHandle::~FolderHandle()
{
    if (fd_ >= 0)
        close(fd_);
}

int FolderHandle::Sync() const
{
    if (fsync(fd_) == 0 || errno == EINVAL)
        return 0;
    return errno;
}

FolderRef OpenFolder(int at, const char* name, int extraFlags)
{
    int fd = openat(at, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | extraFlags);
    if (fd < 0)
        return nullptr;
    return std::make_shared<const FolderHandle>(fd);
}

} // namespace carbon
