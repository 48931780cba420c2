#include <framework/FolderItem.h>
#include <framework/Picture.h>
#include <framework/Sound.h>

#include "FinderInfo.h"

#include <carbon/FileIDs.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fw {

namespace {

std::string Normalized(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Join(const std::string& folder, const std::string& name)
{
    return folder == "/" ? "/" + name : folder + "/" + name;
}

void SyncFolder(const std::string& folder)
{
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

[[noreturn]] void Fail(const std::string& what, const std::string& path, int err)
{
    throw IOException(what + " " + path + ": " + std::strerror(err), err);
}

// The mounted file system a path lies on: its device and, where the kernel
// tells it, its mount (a bind mount has the device of its source but a
// rename across it fails all the same).
struct Place {
    uint64_t device = 0;
    uint64_t mount = 0;
    bool hasMount = false;
};

bool PlaceOf(const std::string& path, Place& place)
{
    struct statx sx;
    if (statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_MNT_ID, &sx) != 0)
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

// The private folder of that name in base, made when missing; "" when it
// cannot be made or what is there is not ours alone.
std::string PrivateFolder(const std::string& base, const std::string& name)
{
    struct stat bst;
    if (stat(base.c_str(), &bst) != 0 || !S_ISDIR(bst.st_mode))
        return {};
    // In a folder that others may write to, only the sticky bit stops them
    // from swapping our folder for something else after we checked it.
    if ((bst.st_mode & S_IWOTH) && !(bst.st_mode & S_ISVTX))
        return {};
    std::string path = Join(Normalized(base), name);
    if (mkdir(path.c_str(), 0700) == 0) {
        // The umask may have taken more than it should.
        if (chmod(path.c_str(), 0700) != 0)
            return {};
    } else if (errno != EEXIST) {
        return {};
    }
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid() || (st.st_mode & 077) != 0)
        return {};
    return path;
}

} // namespace

FolderItem::FolderItem(std::string path)
    : path_(Normalized(std::move(path)))
{
}

FolderItem::~FolderItem() = default;

const ClassRecord& FolderItem::Record()
{
    static const ClassRecord record { "FolderItem", &Object::Record(),
        { GetterProperty("Name", &FolderItem::Name), GetterProperty("Exists", &FolderItem::Exists),
            GetterProperty("Directory", &FolderItem::Directory), GetterProperty("MacType", &FolderItem::MacType),
            GetterProperty("MacCreator", &FolderItem::MacCreator),
            GetterProperty("MacVRefNum", &FolderItem::MacVRefNum), GetterProperty("MacDirID", &FolderItem::MacDirID),
            GetterProperty("LastErrorCode", &FolderItem::LastErrorCode) },
        { Method("Child", &FolderItem::Child), Method("Parent", &FolderItem::Parent),
            Method("Delete", &FolderItem::Delete), Method("MoveFileTo", &FolderItem::MoveFileTo),
            Method("TemporaryFolder", &FolderItem::TemporaryFolder), Method("OpenAsSound", &FolderItem::OpenAsSound),
            Method("OpenAsPicture", &FolderItem::OpenAsPicture) },
        {} };
    return record;
}

const ClassRecord& FolderItem::ClassInfo() const { return Record(); }

std::string FolderItem::NativePath() const { return path_; }

std::string FolderItem::Name() const
{
    if (path_ == "/")
        return path_;
    size_t slash = path_.rfind('/');
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

Ref<FolderItem> FolderItem::Child(const std::string& name) const
{
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos
        || name.find('\0') != std::string::npos)
        return nullptr;
    return New<FolderItem>(Join(path_, name));
}

Ref<FolderItem> FolderItem::Parent() const
{
    if (path_ == "/" || path_.empty())
        return nullptr;
    size_t slash = path_.rfind('/');
    if (slash == std::string::npos)
        return nullptr;
    return New<FolderItem>(slash == 0 ? "/" : path_.substr(0, slash));
}

bool FolderItem::Exists() const
{
    struct stat st;
    return lstat(path_.c_str(), &st) == 0;
}

bool FolderItem::Directory() const
{
    struct stat st;
    return stat(path_.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void FolderItem::Delete()
{
    struct stat st;
    if (lstat(path_.c_str(), &st) != 0) {
        SetLastErrorCode(errno);
        return;
    }
    if ((S_ISDIR(st.st_mode) ? rmdir(path_.c_str()) : unlink(path_.c_str())) != 0) {
        SetLastErrorCode(errno);
        return;
    }
    unlink(finderinfo::SidecarPath(path_).c_str());
    SetLastErrorCode(0);
}

void FolderItem::MoveFileTo(const Ref<FolderItem>& destination)
{
    std::string target = destination->Directory() ? Join(destination->NativePath(), Name()) : destination->NativePath();
    if (target == path_) {
        SetLastErrorCode(0);
        return;
    }
    std::string sidecar = finderinfo::SidecarPath(path_);
    std::string targetSidecar = finderinfo::SidecarPath(target);
    if (rename(path_.c_str(), target.c_str()) == 0) {
        // Type and creator kept beside the file go with it; a sidecar of the
        // file that was replaced no longer tells the truth.
        if (rename(sidecar.c_str(), targetSidecar.c_str()) != 0 && errno == ENOENT)
            unlink(targetSidecar.c_str());
        SyncFolder(FolderOf(target));
        if (FolderOf(target) != FolderOf(path_))
            SyncFolder(FolderOf(path_));
        SetLastErrorCode(0);
        return;
    }
    int err = errno;
    struct stat st;
    if (err != EXDEV || lstat(path_.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        SetLastErrorCode(err);
        Fail("cannot move", path_, err);
    }

    // Another file system: a complete copy beside the target, renamed over it.
    finderinfo::Info info;
    bool hasInfo = finderinfo::Read(path_, info) == 0 && info != finderinfo::Info {};
    std::string temp = Join(FolderOf(target), "." + Name() + ".XXXXXX");
    int in = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    int out = in < 0 ? -1 : mkostemp(temp.data(), O_CLOEXEC);
    err = in < 0 ? errno : (out < 0 ? errno : 0);
    char buf[65536];
    while (err == 0) {
        ssize_t r = read(in, buf, sizeof buf);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            err = errno;
        if (r <= 0)
            break;
        for (ssize_t done = 0; done < r && err == 0;) {
            ssize_t w = write(out, buf + done, static_cast<size_t>(r - done));
            if (w < 0 && errno != EINTR)
                err = errno;
            else if (w > 0)
                done += w;
        }
    }
    if (err == 0 && fchmod(out, st.st_mode & 07777) != 0)
        err = errno;
    if (err == 0 && fsync(out) != 0)
        err = errno;
    if (out >= 0 && close(out) != 0 && err == 0)
        err = errno;
    if (in >= 0)
        close(in);
    if (err == 0 && hasInfo)
        err = finderinfo::Write(temp, info);
    if (err == 0 && rename(temp.c_str(), target.c_str()) != 0)
        err = errno;
    if (err != 0) {
        if (out >= 0)
            unlink(temp.c_str());
        unlink(finderinfo::SidecarPath(temp).c_str());
        SetLastErrorCode(err);
        Fail("cannot move", path_, err);
    }
    if (hasInfo)
        rename(finderinfo::SidecarPath(temp).c_str(), targetSidecar.c_str());
    else
        unlink(targetSidecar.c_str());
    SyncFolder(FolderOf(target));
    unlink(path_.c_str());
    unlink(sidecar.c_str());
    SetLastErrorCode(0);
}

std::string FolderItem::FinderInfoField(int offset) const
{
    finderinfo::Info info;
    int err = finderinfo::Read(path_, info);
    SetLastErrorCode(err);
    std::string field(reinterpret_cast<const char*>(info.data()) + offset, 4);
    return field == std::string(4, '\0') ? std::string() : field;
}

void FolderItem::SetFinderInfoField(int offset, const std::string& value)
{
    finderinfo::Info info;
    int err = finderinfo::Read(path_, info);
    if (err == 0) {
        std::string field = value.substr(0, 4);
        if (!field.empty())
            field.resize(4, ' ');
        else
            field.assign(4, '\0');
        std::memcpy(info.data() + offset, field.data(), 4);
        err = finderinfo::Write(path_, info);
    }
    SetLastErrorCode(err);
    if (err != 0)
        Fail("cannot set the type and creator of", path_, err);
}

std::string FolderItem::MacType() const { return FinderInfoField(0); }
void FolderItem::MacType(const std::string& type) { SetFinderInfoField(0, type); }
std::string FolderItem::MacCreator() const { return FinderInfoField(4); }
void FolderItem::MacCreator(const std::string& creator) { SetFinderInfoField(4, creator); }

std::string FolderItem::HoldingFolder() const { return path_ == "/" ? path_ : FolderOf(path_); }

int16_t FolderItem::MacVRefNum() const
{
    struct stat st;
    if (stat(HoldingFolder().c_str(), &st) != 0) {
        SetLastErrorCode(errno);
        return 0;
    }
    SetLastErrorCode(0);
    return carbon::VolumeRefNum(static_cast<uint64_t>(st.st_dev));
}

int32_t FolderItem::MacDirID() const
{
    std::string folder = HoldingFolder();
    struct stat st;
    if (stat(folder.c_str(), &st) != 0) {
        SetLastErrorCode(errno);
        return 0;
    }
    SetLastErrorCode(0);
    carbon::VolumeRefNum(static_cast<uint64_t>(st.st_dev));
    return carbon::DirID(folder, static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino));
}

Ref<FolderItem> FolderItem::TemporaryFolder() const
{
    // A folder item keeps its temporary items on its own file system; a file
    // on that of the folder that holds it, where its renames happen.
    std::string home = Directory() ? path_ : HoldingFolder();
    Place here;
    if (!PlaceOf(home, here)) {
        SetLastErrorCode(errno);
        return nullptr;
    }
    std::string tmp = EnvPath("TMPDIR");
    std::string cache = EnvPath("XDG_CACHE_HOME");
    if (cache.empty() && !EnvPath("HOME").empty())
        cache = EnvPath("HOME") + "/.cache";
    const std::pair<std::string, std::string> candidates[] = {
        { tmp.empty() ? "/tmp" : tmp, "TemporaryItems-" + std::to_string(geteuid()) },
        { cache, "TemporaryItems" },
        { home, ".TemporaryItems" },
    };
    for (const auto& [base, name] : candidates) {
        Place there;
        if (base.empty() || !PlaceOf(base, there) || !SamePlace(here, there))
            continue;
        std::string folder = PrivateFolder(base, name);
        Place inside;
        if (!folder.empty() && PlaceOf(folder, inside) && SamePlace(here, inside)) {
            SetLastErrorCode(0);
            return New<FolderItem>(folder);
        }
    }
    SetLastErrorCode(ENOENT);
    return nullptr;
}

int32_t FolderItem::LastErrorCode() const { return lastError_; }

} // namespace fw
