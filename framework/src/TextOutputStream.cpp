#include <framework/TextOutputStream.h>

#include "FileBytes.h"
#include "FileEntries.h"
#include "FinderInfo.h"
#include "HeldFile.h"

#include <carbon/FolderHandle.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace fw {

Ref<TextOutputStream> TextOutputStream::Create(const Ref<FolderItem>& file)
{
    auto folder = file->Holder();
    if (!folder)
        file->Fail("cannot create", errno);
    // Whatever is made here goes with the stream when it fails.
    auto stream = New<TextOutputStream>(Key {}, file, -1);
    stream->folder_ = folder;
    if (detail::HeldFile* held = file->Held()) {
        // The file the item reserved is its own, written in place.
        stream->reserved_ = file->held_;
        stream->fd_ = fcntl(held->Fd(), F_DUPFD_CLOEXEC, 0);
        if (stream->fd_ < 0 || ftruncate(stream->fd_, 0) != 0 || lseek(stream->fd_, 0, SEEK_SET) != 0)
            file->Fail("cannot create", errno);
    } else if (int err = stream->OpenBeside()) {
        file->Fail("cannot create", err);
    }
    file->SetLastErrorCode(0);
    return stream;
}

int TextOutputStream::OpenBeside()
{
    const int folder = folder_->Fd();
    const std::string name = file_->Name();
    int earlier = -1;
    struct stat st;
    if (fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        // Only a plain file that the user may write is replaced; nothing is
        // written through a link.
        if (S_ISLNK(st.st_mode))
            return ELOOP;
        if (S_ISDIR(st.st_mode))
            return EISDIR;
        if (!S_ISREG(st.st_mode))
            return EINVAL;
        if (faccessat(folder, name.c_str(), W_OK, AT_EACCESS) != 0)
            return errno;
        earlier = openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (earlier < 0)
            return errno;
    } else if (errno != ENOENT) {
        return errno;
    }
    fd_ = detail::CreateHeldBeside(folder, name, earlier >= 0 ? 0600 : 0666, temp_);
    int err = fd_ < 0 ? errno : 0;
    // Mode, type and creator go with the name, as when a file is emptied.
    if (err == 0 && earlier >= 0 && fchmod(fd_, st.st_mode & 07777) != 0)
        err = errno;
    if (err == 0 && earlier >= 0)
        err = finderinfo::CopyAttribute(earlier, fd_);
    if (earlier >= 0)
        close(earlier);
    return err;
}

TextOutputStream::TextOutputStream(Key, Ref<FolderItem> file, int fd)
    : file_(std::move(file))
    , fd_(fd)
{
}

TextOutputStream::~TextOutputStream() { Discard(); }

void TextOutputStream::Discard()
{
    if (fd_ < 0)
        return;
    // Removed while still held, so no one else's file can have its name.
    if (!temp_.empty())
        unlinkat(folder_->Fd(), temp_.c_str(), 0);
    close(fd_);
    fd_ = -1;
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

void TextOutputStream::Write(const std::string& data)
{
    if (fd_ < 0)
        file_->Fail("cannot write", EBADF);
    if (int err = WriteAll(fd_, data))
        file_->Fail("cannot write", err);
}

void TextOutputStream::Close()
{
    if (fd_ < 0)
        return;
    int err = fsync(fd_) != 0 ? errno : 0;
    // Put in place while the file is still held.
    if (err == 0 && !temp_.empty() && renameat(folder_->Fd(), temp_.c_str(), folder_->Fd(), file_->Name().c_str()) != 0)
        err = errno;
    if (err != 0) {
        Discard();
        file_->Fail("cannot write", err);
    }
    temp_.clear();
    int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0 && errno != EINTR)
        err = errno;
    // The name must reach the disk as well as the bytes.
    if (err == 0)
        err = folder_->Sync();
    if (err != 0)
        file_->Fail("cannot write", err);
    if (reserved_)
        reserved_->written = true;
    file_->SetLastErrorCode(0);
}

} // namespace fw
