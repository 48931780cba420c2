#pragma once

#include <memory>

namespace carbon {

// An open folder (O_DIRECTORY). File operations go through it, relative to
// the folder, so that its path is resolved once: the folder met later is
// the one that was opened and checked, whatever happens to the path.
// Closed with its last owner.
class FolderHandle {
public:
    // Takes the descriptor over.
    explicit FolderHandle(int fd) : fd_(fd) {}
    ~FolderHandle();
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    int Fd() const { return fd_; }

    // Writes the folder's entries (names made, renamed, removed) through to
    // stable storage: 0 or errno. A file system that cannot flush folders
    // has nothing to flush.
    int Sync() const;

private:
    int fd_;
};

using FolderRef = std::shared_ptr<const FolderHandle>;

// The folder at name in the folder at (AT_FDCWD for a path); nullptr, with
// errno set, when it cannot be opened. extraFlags may add O_NOFOLLOW.
FolderRef OpenFolder(int at, const char* name, int extraFlags = 0);

} // namespace carbon
