#include "FileEntries.h"
#include "HeldFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace fw::detail {

bool NameIs(int folder, const std::string& name, int fd)
{
    struct stat entry, file;
    return fstatat(folder, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 && fstat(fd, &file) == 0
           && entry.st_dev == file.st_dev && entry.st_ino == file.st_ino;
}

int CreateHeld(int folder, const std::string& name, mode_t mode)
{
    int fd = openat(folder, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, mode);
    if (fd < 0)
        return -1;
    // A sweep may have come between making and locking, taken the new file
    // for a stale one and removed it: then the name is no longer ours.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 || !NameIs(folder, name, fd)) {
        close(fd);
        errno = EEXIST;
        return -1;
    }
    // A sweep opens a file to try its lock, so its owner must be able to
    // read it whatever the umask took.
    struct stat st;
    if (fstat(fd, &st) == 0 && !(st.st_mode & S_IRUSR))
        fchmod(fd, (st.st_mode & 07777) | S_IRUSR);
    return fd;
}

int CreateHeldBeside(int folder, const std::string& name, mode_t mode, std::string& made)
{
    const std::string prefix = "." + name + ".";
    std::vector<std::string> names;
    if (int err = ListFolder(folder, names)) {
        errno = err;
        return -1;
    }
    for (const std::string& n : names)
        if (n.size() == prefix.size() + 6 && n.compare(0, prefix.size(), prefix) == 0)
            RemoveUnlessHeld(folder, n);

    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[6];
        if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random))
            return -1;
        made = prefix;
        for (unsigned char r : random)
            made.push_back(kLetters[r % (sizeof kLetters - 1)]);
        int fd = CreateHeld(folder, made, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

int RemoveUnlessHeld(int folder, const std::string& name, const HeldFile* mine)
{
    struct stat st;
    if (fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (S_ISDIR(st.st_mode))
        return unlinkat(folder, name.c_str(), AT_REMOVEDIR) == 0 ? 0 : errno;
    if (S_ISREG(st.st_mode) && !(mine && mine->Is(st))) {
        int fd = openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd >= 0) {
            // Holding its lock, we are the only one who may remove the
            // file, so it is still the name's when we do.
            int err = flock(fd, LOCK_EX | LOCK_NB) != 0 || !NameIs(folder, name, fd) ? EBUSY : 0;
            if (err == 0 && unlinkat(folder, name.c_str(), 0) != 0)
                err = errno;
            close(fd);
            return err;
        }
        // A file its owner cannot read is none that a save holds.
        if (errno != EACCES)
            return errno;
    }
    return unlinkat(folder, name.c_str(), 0) == 0 ? 0 : errno;
}

int ListFolder(int folder, std::vector<std::string>& names)
{
    int fd = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd < 0 ? nullptr : fdopendir(fd);
    if (!dir) {
        int err = errno;
        if (fd >= 0)
            close(fd);
        return err;
    }
    names.clear();
    errno = 0;
    while (dirent* e = readdir(dir)) {
        std::string n = e->d_name;
        if (n != "." && n != "..")
            names.push_back(std::move(n));
    }
    int err = errno;
    closedir(dir);
    return err;
}

} // namespace fw::detail
