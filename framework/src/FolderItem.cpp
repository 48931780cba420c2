#include <framework/FolderItem.h>
#include <framework/Picture.h>
#include <framework/Sound.h>

#include "FileBytes.h"
#include "FileEntries.h"
#include "FinderInfo.h"
#include "HeldFile.h"

#include <carbon/FileIDs.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace fw {

using carbon::FolderHandle;
using carbon::OpenFolder;

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

// The file or folder of that name, open for its Finder info: 0 and a
// descriptor, 0 and -1 for an entry that cannot have any (a link, a FIFO, a
// device), or errno. Nothing else is opened, so nothing blocks or acts.
int OpenForInfo(int folder, const std::string& name, int& fd)
{
    fd = -1;
    struct stat st;
    if (fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        return 0;
    fd = openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat now;
    if (fstat(fd, &now) != 0 || (now.st_mode & S_IFMT) != (st.st_mode & S_IFMT)) {
        close(fd);
        fd = -1;
    }
    return 0;
}

bool SameFolder(const FolderHandle& a, const FolderHandle& b)
{
    struct stat sa, sb;
    return fstat(a.Fd(), &sa) == 0 && fstat(b.Fd(), &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace

FolderItem::FolderItem(std::string path)
    : path_(Normalized(std::move(path)))
{
}

FolderItem::~FolderItem()
{
    // A reservation never written is no file of anyone's.
    if (detail::HeldFile* held = Held(); held && !held->written)
        unlinkat(holder_->Fd(), Name().c_str(), 0);
}

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

std::string FolderItem::HoldingFolder() const { return path_ == "/" ? path_ : FolderOf(path_); }

FolderItem::Handle FolderItem::Holder() const
{
    // The path the program gave is resolved this once.
    if (!holder_)
        holder_ = OpenFolder(AT_FDCWD, HoldingFolder().c_str());
    return holder_;
}

FolderItem::Handle FolderItem::Self() const
{
    if (!self_) {
        if (!derived_) {
            self_ = OpenFolder(AT_FDCWD, path_.c_str());
        } else if (Handle holder = Holder()) {
            self_ = OpenFolder(holder->Fd(), Name().c_str(), O_NOFOLLOW);
        }
    }
    return self_;
}

detail::HeldFile* FolderItem::Held() const
{
    struct stat st;
    if (!held_ || !holder_ || fstatat(holder_->Fd(), Name().c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0
        || !held_->Is(st))
        return nullptr;
    return held_.get();
}

void FolderItem::Fail(const std::string& what, int err) const
{
    SetLastErrorCode(err);
    throw IOException(what + " " + path_ + ": " + std::strerror(err), err);
}

Ref<FolderItem> FolderItem::Child(const std::string& name) const
{
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos
        || name.find('\0') != std::string::npos)
        return nullptr;
    auto child = New<FolderItem>(Join(path_, name));
    // A folder that is not there yet leaves its items to find it by path.
    child->holder_ = Self();
    child->derived_ = child->holder_ != nullptr;
    return child;
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
    Handle holder = Holder();
    if (!holder || fstatat(holder->Fd(), Name().c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        // Only a missing entry or folder is an answer; a folder that may not
        // be searched hides what is in it, which is no proof of absence.
        if (errno != ENOENT && errno != ENOTDIR)
            Fail("cannot look for", errno);
        SetLastErrorCode(0);
        return false;
    }
    SetLastErrorCode(0);
    return !(held_ && held_->Is(st) && !held_->written);
}

bool FolderItem::Directory() const
{
    struct stat st;
    Handle holder = Holder();
    return holder && fstatat(holder->Fd(), Name().c_str(), &st, 0) == 0 && S_ISDIR(st.st_mode);
}

void FolderItem::Delete()
{
    Handle holder = Holder();
    if (!holder) {
        SetLastErrorCode(errno);
        return;
    }
    int err = detail::RemoveUnlessHeld(holder->Fd(), Name(), held_.get());
    if (err == 0 && unlinkat(holder->Fd(), finderinfo::SidecarName(Name()).c_str(), 0) != 0 && errno != ENOENT)
        err = errno;
    SetLastErrorCode(err);
}

bool FolderItem::Reserve()
{
    Handle holder = Holder();
    if (!holder)
        Fail("cannot make", errno);
    int fd = detail::CreateHeld(holder->Fd(), Name(), 0666);
    if (fd < 0) {
        if (errno != EEXIST)
            Fail("cannot make", errno);
        SetLastErrorCode(EEXIST);
        return false;
    }
    held_ = std::make_shared<detail::HeldFile>(fd);
    SetLastErrorCode(0);
    return true;
}

std::vector<std::string> FolderItem::ChildNames() const
{
    std::vector<std::string> names;
    Handle self = Self();
    int err = self ? detail::ListFolder(self->Fd(), names) : errno;
    if (err != 0)
        Fail("cannot read the folder", err);
    SetLastErrorCode(0);
    return names;
}

void FolderItem::MoveFileTo(const Ref<FolderItem>& destination)
{
    Handle from = Holder();
    if (!from)
        Fail("cannot move", errno);
    const std::string name = Name();
    Handle to;
    std::string target;
    if (destination->Directory()) {
        to = destination->Self();
        target = name;
    } else {
        to = destination->Holder();
        target = destination->Name();
    }
    if (!to)
        Fail("cannot move", errno);
    const int src = from->Fd(), dst = to->Fd();
    const bool sameFolder = SameFolder(*from, *to);
    if (sameFolder && target == name) {
        SetLastErrorCode(0);
        return;
    }
    const std::string sidecar = finderinfo::SidecarName(name), targetSidecar = finderinfo::SidecarName(target);
    if (renameat(src, name.c_str(), dst, target.c_str()) == 0) {
        // Type and creator kept beside the file go with it; a sidecar of the
        // file that was replaced no longer tells the truth.
        if (renameat(src, sidecar.c_str(), dst, targetSidecar.c_str()) != 0 && errno == ENOENT)
            unlinkat(dst, targetSidecar.c_str(), 0);
        int err = to->Sync();
        if (err == 0 && !sameFolder)
            err = from->Sync();
        if (err != 0)
            Fail("cannot flush the move of", err);
        SetLastErrorCode(0);
        return;
    }
    int err = errno;
    int in = -1;
    struct stat st;
    if (err == EXDEV)
        in = openat(src, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (in < 0 || fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (in >= 0)
            close(in);
        Fail("cannot move", err);
    }

    // Another file system: a complete copy beside the target, renamed over it.
    finderinfo::Info info {};
    err = finderinfo::Read(in, *from, name, info);
    std::string temp;
    int out = err == 0 ? detail::CreateHeldBeside(dst, target, 0600, temp) : -1;
    if (err == 0 && out < 0)
        err = errno;
    char buf[65536];
    while (err == 0) {
        ssize_t r = read(in, buf, sizeof buf);
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            err = errno;
        if (r <= 0)
            break;
        err = WriteAll(out, std::string(buf, static_cast<size_t>(r)));
    }
    close(in);
    if (err == 0 && fchmod(out, st.st_mode & 07777) != 0)
        err = errno;
    if (err == 0 && info != finderinfo::Info {})
        err = finderinfo::Write(out, *to, temp, info);
    if (err == 0 && fsync(out) != 0)
        err = errno;
    if (err == 0 && renameat(dst, temp.c_str(), dst, target.c_str()) != 0)
        err = errno;
    if (out >= 0)
        close(out);
    if (err != 0) {
        if (out >= 0) {
            unlinkat(dst, temp.c_str(), 0);
            unlinkat(dst, finderinfo::SidecarName(temp).c_str(), 0);
        }
        Fail("cannot move", err);
    }
    if (renameat(dst, finderinfo::SidecarName(temp).c_str(), dst, targetSidecar.c_str()) != 0 && errno == ENOENT)
        unlinkat(dst, targetSidecar.c_str(), 0);
    if (int synced = to->Sync())
        Fail("cannot flush the move of", synced);
    unlinkat(src, name.c_str(), 0);
    unlinkat(src, sidecar.c_str(), 0);
    SetLastErrorCode(0);
}

std::string FolderItem::FinderInfoField(int offset) const
{
    finderinfo::Info info {};
    int err = 0;
    if (const detail::HeldFile* held = Held()) {
        err = finderinfo::Read(held->Fd(), *holder_, Name(), info);
    } else if (Handle holder = Holder()) {
        int fd = -1;
        err = OpenForInfo(holder->Fd(), Name(), fd);
        if (fd >= 0) {
            err = finderinfo::Read(fd, *holder, Name(), info);
            close(fd);
        }
    } else {
        err = errno;
    }
    // A missing item has no type or creator; any other failure is one.
    if (err == ENOENT || err == ENOTDIR) {
        SetLastErrorCode(err);
        return {};
    }
    if (err != 0)
        Fail("cannot read the type and creator of", err);
    SetLastErrorCode(0);
    std::string field(reinterpret_cast<const char*>(info.data()) + offset, 4);
    return field == std::string(4, '\0') ? std::string() : field;
}

void FolderItem::SetFinderInfoField(int offset, const std::string& value)
{
    Handle holder = Holder();
    if (!holder)
        Fail("cannot set the type and creator of", errno);
    const detail::HeldFile* held = Held();
    int fd = held ? held->Fd() : -1;
    int err = held ? 0 : OpenForInfo(holder->Fd(), Name(), fd);
    // A link, a FIFO or a device cannot carry them.
    if (err == 0 && fd < 0)
        err = EPERM;
    finderinfo::Info info {};
    if (err == 0)
        err = finderinfo::Read(fd, *holder, Name(), info);
    if (err == 0) {
        std::string field = value.substr(0, 4);
        if (!field.empty())
            field.resize(4, ' ');
        else
            field.assign(4, '\0');
        std::memcpy(info.data() + offset, field.data(), 4);
        err = finderinfo::Write(fd, *holder, Name(), info);
    }
    if (fd >= 0 && !held)
        close(fd);
    if (err != 0)
        Fail("cannot set the type and creator of", err);
    SetLastErrorCode(0);
}

int32_t FolderItem::Permissions() const
{
    struct stat st;
    Handle holder = Holder();
    if (!holder || fstatat(holder->Fd(), Name().c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        Fail("cannot read the permissions of", errno);
    // A link's own bits say nothing of the file it leads to.
    if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        Fail("cannot read the permissions of", S_ISLNK(st.st_mode) ? ELOOP : EINVAL);
    SetLastErrorCode(0);
    return static_cast<int32_t>(st.st_mode & 07777);
}

void FolderItem::Permissions(int32_t mode)
{
    const mode_t bits = static_cast<mode_t>(mode) & 07777;
    int err = 0;
    if (const detail::HeldFile* held = Held()) {
        err = fchmod(held->Fd(), bits) == 0 ? 0 : errno;
    } else {
        (void)Permissions(); // raises for what it cannot reach, a link, a FIFO or a device
        err = fchmodat(Holder()->Fd(), Name().c_str(), bits, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
    }
    if (err != 0)
        Fail("cannot set the permissions of", err);
    SetLastErrorCode(0);
}

std::string FolderItem::MacType() const { return FinderInfoField(0); }
void FolderItem::MacType(const std::string& type) { SetFinderInfoField(0, type); }
std::string FolderItem::MacCreator() const { return FinderInfoField(4); }
void FolderItem::MacCreator(const std::string& creator) { SetFinderInfoField(4, creator); }

int16_t FolderItem::MacVRefNum() const
{
    struct stat st;
    Handle holder = Holder();
    if (!holder || fstat(holder->Fd(), &st) != 0) {
        SetLastErrorCode(errno);
        return 0;
    }
    SetLastErrorCode(0);
    return carbon::VolumeRefNum(static_cast<uint64_t>(st.st_dev));
}

int32_t FolderItem::MacDirID() const
{
    // A record resolves only on a numbered volume: number it first.
    MacVRefNum();
    return lastError_ == 0 ? carbon::DirID(HoldingFolder(), holder_) : 0;
}

int32_t FolderItem::LastErrorCode() const { return lastError_; }

} // namespace fw
