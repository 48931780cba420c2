#include <carbon/FileIDs.h>
#include <carbon/Files.h>

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

// The record's folder and name. noErr, or why it names nothing.
OSErr Resolve(const FSSpec* spec, carbon::FolderRef& folder, std::string& folderPath, std::string& name)
{
    FSSpec s;
    std::memcpy(&s, spec, sizeof s);
    folder = carbon::Folder(s.vRefNum, s.parID, folderPath);
    if (!folder)
        return s.vRefNum < 0 ? dirNFErr : nsvErr;
    if (!DecodeName(s.name, name))
        return fnfErr;
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos
        || name.find('\0') != std::string::npos)
        return bdNamErr;
    return noErr;
}

std::string Sidecar(const std::string& name) { return "._" + name; }

bool Present(int folder, const std::string& name)
{
    struct stat st;
    return fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

} // namespace

OSErr FSpMakePath(const FSSpec* spec, std::string& path)
{
    if (!spec)
        return paramErr;
    carbon::FolderRef folder;
    std::string folderPath, name;
    if (OSErr err = Resolve(spec, folder, folderPath, name))
        return err;
    path = folderPath == "/" ? "/" + name : folderPath + "/" + name;
    return noErr;
}

OSErr FSpExchangeFiles(const FSSpec* source, const FSSpec* destination)
{
    if (!source || !destination)
        return paramErr;
    if (source->vRefNum != destination->vRefNum)
        return diffVolErr;
    carbon::FolderRef folderA, folderB;
    std::string pathA, pathB, a, b;
    if (OSErr err = Resolve(source, folderA, pathA, a))
        return err;
    if (OSErr err = Resolve(destination, folderB, pathB, b))
        return err;
    int fa = folderA->Fd(), fb = folderB->Fd();
    // A file exchanged with itself would read as done, and the caller would
    // then throw "the other one" away.
    if (folderA == folderB && a == b)
        return paramErr;
    for (auto [folder, name] : { std::pair { fa, &a }, std::pair { fb, &b } }) {
        struct stat st;
        if (fstatat(folder, name->c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return FromErrno(errno);
        if (!S_ISREG(st.st_mode))
            return notAFileErr;
    }
    // Swapping the two names swaps everything that belongs to each file:
    // contents, extended attributes (type and creator among them), dates.
    if (renameat2(fa, a.c_str(), fb, b.c_str(), RENAME_EXCHANGE) != 0)
        return FromErrno(errno);

    // From here on the exchange has happened and the result must say so,
    // whatever else fails. Where type and creator lie beside the files
    // rather than in them, they follow the contents.
    std::string sa = Sidecar(a), sb = Sidecar(b);
    bool hasA = Present(fa, sa), hasB = Present(fb, sb);
    if (hasA && hasB)
        renameat2(fa, sa.c_str(), fb, sb.c_str(), RENAME_EXCHANGE);
    else if (hasA)
        renameat(fa, sa.c_str(), fb, sb.c_str());
    else if (hasB)
        renameat(fb, sb.c_str(), fa, sa.c_str());

    // The new names should reach the disk before anyone relies on them; a
    // folder that cannot be flushed cannot undo the exchange either.
    folderA->Sync();
    if (folderB != folderA)
        folderB->Sync();
    return noErr;
}
