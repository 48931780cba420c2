#include <carbon/FileIDs.h>
#include <carbon/Files.h>

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// The record's name back to UTF-8; false unless every byte is part of a
// whole MacJapanese character.
bool DecodeName(const unsigned char* pstr, std::string& out)
{
    size_t length = pstr[0];
    if (length > 63)
        return false;
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    char buf[64 * 4];
    char* in = const_cast<char*>(reinterpret_cast<const char*>(pstr + 1));
    size_t inLeft = length;
    char* o = buf;
    size_t oLeft = sizeof buf;
    size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    bool ok = r != static_cast<size_t>(-1) && inLeft == 0;
    if (ok) {
        r = iconv(cd, nullptr, nullptr, &o, &oLeft);
        ok = r != static_cast<size_t>(-1);
    }
    iconv_close(cd);
    if (ok)
        out.assign(buf, static_cast<size_t>(o - buf));
    return ok;
}

OSErr FromErrno(int e)
{
    switch (e) {
    case ENOENT:
    case ENOTDIR:
        return fnfErr;
    case EACCES:
    case EPERM:
        return permErr;
    case EROFS:
        return wPrErr;
    case EXDEV:
        return diffVolErr;
    case EISDIR:
        return notAFileErr;
    case ENAMETOOLONG:
        return bdNamErr;
    case EINVAL:
    case ENOSYS:
    case EOPNOTSUPP:
        return wrgVolTypErr;
    default:
        return ioErr;
    }
}

std::string Folder(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Sidecar(const std::string& path)
{
    size_t slash = path.rfind('/');
    return path.substr(0, slash + 1) + "._" + path.substr(slash + 1);
}

bool Present(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

void SyncFolder(const std::string& folder)
{
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

} // namespace

OSErr FSpMakePath(const FSSpec* spec, std::string& path)
{
    if (!spec)
        return paramErr;
    FSSpec s;
    std::memcpy(&s, spec, sizeof s);
    std::string folder;
    if (!carbon::FolderPath(s.vRefNum, s.parID, folder))
        return s.vRefNum < 0 ? dirNFErr : nsvErr;
    std::string name;
    if (!DecodeName(s.name, name))
        return fnfErr;
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos
        || name.find('\0') != std::string::npos)
        return bdNamErr;
    path = folder == "/" ? "/" + name : folder + "/" + name;
    return noErr;
}

OSErr FSpExchangeFiles(const FSSpec* source, const FSSpec* destination)
{
    if (!source || !destination)
        return paramErr;
    if (source->vRefNum != destination->vRefNum)
        return diffVolErr;
    std::string a, b;
    if (OSErr err = FSpMakePath(source, a))
        return err;
    if (OSErr err = FSpMakePath(destination, b))
        return err;
    // A file exchanged with itself would read as done, and the caller would
    // then throw "the other one" away.
    if (a == b)
        return paramErr;
    for (const std::string* p : { &a, &b }) {
        struct stat st;
        if (lstat(p->c_str(), &st) != 0)
            return FromErrno(errno);
        if (!S_ISREG(st.st_mode))
            return notAFileErr;
    }
    // Swapping the two names swaps everything that belongs to each file:
    // contents, extended attributes (type and creator among them), dates.
    if (renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) != 0)
        return FromErrno(errno);

    // From here on the exchange has happened and the result must say so,
    // whatever else fails. Where type and creator lie beside the files
    // rather than in them, they follow the contents.
    std::string sa = Sidecar(a), sb = Sidecar(b);
    bool hasA = Present(sa), hasB = Present(sb);
    if (hasA && hasB)
        renameat2(AT_FDCWD, sa.c_str(), AT_FDCWD, sb.c_str(), RENAME_EXCHANGE);
    else if (hasA)
        std::rename(sa.c_str(), sb.c_str());
    else if (hasB)
        std::rename(sb.c_str(), sa.c_str());

    // The new names must reach the disk before anyone relies on them.
    SyncFolder(Folder(a));
    if (Folder(b) != Folder(a))
        SyncFolder(Folder(b));
    return noErr;
}
