#include <framework/FolderItem.h>

#include <carbon/FolderHandle.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace fw {

using carbon::FolderRef;

namespace {

// The mounted file system a folder lies on: its device and, where the
// kernel tells it, its mount (a bind mount has the device of its source but
// a rename across it fails all the same).
struct Place {
    uint64_t device = 0;
    uint64_t mount = 0;
    bool hasMount = false;
};

bool PlaceOf(const FolderRef& folder, Place& place)
{
    struct statx sx;
    if (statx(folder->Fd(), "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_MNT_ID, &sx) != 0)
        return false;
    place.device = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    place.hasMount = (sx.stx_mask & STATX_MNT_ID) != 0;
    place.mount = place.hasMount ? sx.stx_mnt_id : 0;
    return true;
}

bool SamePlace(const Place& a, const Place& b)
{
    return a.device == b.device && (!a.hasMount || !b.hasMount || a.mount == b.mount);
}

std::string EnvPath(const char* name)
{
    const char* v = std::getenv(name);
    return v && v[0] == '/' ? std::string(v) : std::string();
}

// No other user can rename an entry of the folder, so a folder made in it
// stays the one we made: it is the user's or root's, and others may write
// to it only when it is root's and sticky (as /tmp), where each keeps to
// their own entries.
bool NoOneElseRenames(const struct stat& st)
{
    if (st.st_uid != geteuid() && st.st_uid != 0)
        return false;
    if (st.st_mode & (S_IWGRP | S_IWOTH))
        return st.st_uid == 0 && (st.st_mode & S_ISVTX);
    return true;
}

// The private folder of that name in base, made when missing: 0 and the
// open folder, or errno when it cannot be made or what is there is not
// ours alone.
int PrivateFolder(const FolderRef& base, const std::string& name, FolderRef& folder)
{
    struct stat st;
    if (fstat(base->Fd(), &st) != 0)
        return errno;
    if (!NoOneElseRenames(st))
        return EPERM;
    bool made = mkdirat(base->Fd(), name.c_str(), 0700) == 0;
    if (!made && errno != EEXIST)
        return errno;
    folder = carbon::OpenFolder(base->Fd(), name.c_str(), O_NOFOLLOW);
    if (!folder)
        return errno;
    if (fstat(folder->Fd(), &st) != 0)
        return errno;
    if (st.st_uid != geteuid())
        return EPERM;
    // The umask may have taken more than it should.
    if (made && (st.st_mode & 0777) != 0700 && fchmod(folder->Fd(), 0700) == 0)
        st.st_mode = (st.st_mode & ~0777) | 0700;
    return (st.st_mode & 077) == 0 ? 0 : EPERM;
}

} // namespace

Ref<FolderItem> FolderItem::TemporaryFolder() const
{
    // A folder item keeps its temporary items on its own file system; a file
    // on that of the folder that holds it, where its renames happen.
    const bool folder = Directory();
    FolderRef home = folder ? Self() : Holder();
    Place here;
    if (!home || !PlaceOf(home, here)) {
        SetLastErrorCode(errno);
        return nullptr;
    }
    std::string tmp = EnvPath("TMPDIR");
    std::string cache = EnvPath("XDG_CACHE_HOME");
    if (cache.empty() && !EnvPath("HOME").empty())
        cache = EnvPath("HOME") + "/.cache";
    struct Candidate {
        std::string path;
        std::string name;
    };
    const std::string homePath = folder ? path_ : HoldingFolder();
    const Candidate candidates[] = {
        { tmp.empty() ? "/tmp" : tmp, "TemporaryItems-" + std::to_string(geteuid()) },
        { cache, "TemporaryItems" },
        { homePath, ".TemporaryItems" },
    };
    int err = ENOENT;
    for (const Candidate& c : candidates) {
        if (c.path.empty())
            continue;
        // The base folder's path is resolved this once.
        FolderRef base = &c == &candidates[2] ? home : carbon::OpenFolder(AT_FDCWD, c.path.c_str());
        Place there, inside;
        FolderRef made;
        if (!base || !PlaceOf(base, there)) {
            err = errno;
        } else if (!SamePlace(here, there)) {
            err = EXDEV;
        } else if (int why = PrivateFolder(base, c.name, made)) {
            err = why;
        } else if (!PlaceOf(made, inside) || !SamePlace(here, inside)) {
            err = EXDEV;
        } else {
            auto item = New<FolderItem>(c.path == "/" ? "/" + c.name : c.path + "/" + c.name);
            item->holder_ = base;
            item->self_ = made;
            item->derived_ = true;
            SetLastErrorCode(0);
            return item;
        }
    }
    SetLastErrorCode(err);
    return nullptr;
}

} // namespace fw
