#pragma once

#include <sys/stat.h>

namespace fw::detail {

// A file this process made and is writing: kept open and locked (flock), so
// that no sweep of stale files, in this process or another, removes it
// meanwhile. The lock goes with the last descriptor of the open file.
class HeldFile {
public:
    // Takes over a descriptor of a new file that is already locked.
    explicit HeldFile(int fd);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    int Fd() const { return fd_; }
    // Whether the entry described by st is this file.
    bool Is(const struct stat& st) const;

    // A stream has written the file whole (see FolderItem::Reserve).
    bool written = false;

private:
    int fd_;
    struct stat st_ {};
};

} // namespace fw::detail
