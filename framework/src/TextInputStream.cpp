#include <framework/TextInputStream.h>

#include <carbon/FolderHandle.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace fw {

Ref<TextInputStream> TextInputStream::Open(const Ref<FolderItem>& file)
{
    std::string path = file->NativePath();
    auto folder = file->Holder();
    // Not blocking in open: a FIFO without a writer would stop the program.
    int fd = folder ? openat(folder->Fd(), file->Name().c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK) : -1;
    int err = fd < 0 ? errno : 0;
    struct stat st;
    if (err == 0 && fstat(fd, &st) != 0)
        err = errno;
    else if (err == 0 && S_ISDIR(st.st_mode))
        err = EISDIR;
    if (err == 0 && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        err = errno;
    file->SetLastErrorCode(err);
    if (err != 0) {
        if (fd >= 0)
            close(fd);
        throw IOException("cannot open " + path + ": " + std::strerror(err), err);
    }
    return New<TextInputStream>(Key {}, file, fd);
}

TextInputStream::TextInputStream(Key, Ref<FolderItem> file, int fd)
    : file_(std::move(file))
    , fd_(fd)
{
}

TextInputStream::~TextInputStream()
{
    if (fd_ >= 0)
        close(fd_);
}

const ClassRecord& TextInputStream::Record()
{
    static const ClassRecord record { "TextInputStream", &Object::Record(), {},
        { Method("Open", &TextInputStream::Open), Method("ReadAll", &TextInputStream::ReadAll),
            Method("Close", &TextInputStream::Close) },
        {} };
    return record;
}

const ClassRecord& TextInputStream::ClassInfo() const { return Record(); }

int64_t TextInputStream::Length() const
{
    struct stat st;
    if (fd_ < 0 || fstat(fd_, &st) != 0) {
        int err = fd_ < 0 ? EBADF : errno;
        file_->SetLastErrorCode(err);
        throw IOException("cannot read the length of " + file_->NativePath() + ": " + std::strerror(err), err);
    }
    return static_cast<int64_t>(st.st_size);
}

std::string TextInputStream::ReadAll()
{
    std::string out;
    char buf[65536];
    for (;;) {
        ssize_t r = fd_ < 0 ? (errno = EBADF, -1) : read(fd_, buf, sizeof buf);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0) {
            int err = errno;
            file_->SetLastErrorCode(err);
            throw IOException("cannot read " + file_->NativePath() + ": " + std::strerror(err), err);
        }
        if (r == 0)
            return out;
        out.append(buf, static_cast<size_t>(r));
    }
}

void TextInputStream::Close()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
}

} // namespace fw
