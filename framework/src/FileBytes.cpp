#include "FileBytes.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fw {

int ReadRegularFile(int folder, const std::string& name, uint64_t maxBytes, std::string& bytes, int extraOpenFlags)
{
    int fd = openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | extraOpenFlags);
    if (fd < 0)
        return errno;
    struct stat st;
    int err = 0;
    if (fstat(fd, &st) != 0)
        err = errno;
    else if (!S_ISREG(st.st_mode))
        err = EINVAL;
    else if (static_cast<uint64_t>(st.st_size) > maxBytes)
        err = EFBIG;
    if (err == 0) {
        bytes.resize(static_cast<size_t>(st.st_size));
        size_t got = 0;
        while (got < bytes.size()) {
            ssize_t r = read(fd, bytes.data() + got, bytes.size() - got);
            if (r < 0 && errno == EINTR)
                continue;
            if (r <= 0) {
                err = r < 0 ? errno : 0;
                break;
            }
            got += static_cast<size_t>(r);
        }
        bytes.resize(got);
    }
    close(fd);
    return err;
}

int WriteAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t r = write(fd, bytes.data() + done, bytes.size() - done);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            return errno;
        done += static_cast<size_t>(r);
    }
    return 0;
}

} // namespace fw
