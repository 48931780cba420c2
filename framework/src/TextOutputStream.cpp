#include <framework/TextOutputStream.h>

#include "FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace fw {

Ref<TextOutputStream> TextOutputStream::Create(const Ref<FolderItem>& file)
{
    std::string path = file->NativePath();
    // Not blocking in open: a FIFO without a reader would stop the program.
    const int flags = O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    bool created = true;
    int fd = open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
    if (fd < 0 && errno == EEXIST) {
        created = false;
        fd = open(path.c_str(), flags | O_TRUNC);
    }
    int err = fd < 0 ? errno : 0;
    struct stat st;
    if (err == 0 && fstat(fd, &st) != 0)
        err = errno;
    else if (err == 0 && !S_ISREG(st.st_mode))
        err = EINVAL;
    if (err == 0 && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        err = errno;
    file->SetLastErrorCode(err);
    if (err != 0) {
        if (fd >= 0)
            close(fd);
        throw IOException("cannot create " + path + ": " + std::strerror(err), err);
    }
    return New<TextOutputStream>(Key {}, file, fd, created);
}

TextOutputStream::TextOutputStream(Key, Ref<FolderItem> file, int fd, bool created)
    : file_(std::move(file))
    , fd_(fd)
    , created_(created)
{
}

TextOutputStream::~TextOutputStream()
{
    if (fd_ >= 0)
        close(fd_);
}

const ClassRecord& TextOutputStream::Record()
{
    static const ClassRecord record { "TextOutputStream", &Object::Record(), {},
        { Method("Create", &TextOutputStream::Create), Method("Write", &TextOutputStream::Write),
            Method("Close", &TextOutputStream::Close) },
        {} };
    return record;
}

const ClassRecord& TextOutputStream::ClassInfo() const { return Record(); }

void TextOutputStream::Fail(const char* what, int err)
{
    file_->SetLastErrorCode(err);
    throw IOException(std::string(what) + " " + file_->NativePath() + ": " + std::strerror(err), err);
}

void TextOutputStream::Write(const std::string& data)
{
    if (fd_ < 0)
        Fail("cannot write", EBADF);
    if (int err = WriteAll(fd_, data))
        Fail("cannot write", err);
}

void TextOutputStream::Close()
{
    if (fd_ < 0)
        return;
    int fd = fd_;
    fd_ = -1;
    int err = fsync(fd) != 0 ? errno : 0;
    if (close(fd) != 0 && err == 0 && errno != EINTR)
        err = errno;
    if (err != 0)
        Fail("cannot write", err);
    if (created_) {
        // A new file's name must reach the disk as well as its bytes.
        Ref<FolderItem> folder = file_->Parent();
        int dfd = folder ? open(folder->NativePath().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
        if (dfd >= 0) {
            fsync(dfd);
            close(dfd);
        }
    }
    file_->SetLastErrorCode(0);
}

} // namespace fw
