#include "FinderInfo.h"
#include "FileBytes.h"
#include "FileEntries.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace fw::finderinfo {

namespace {

const char kAttribute[] = "user.com.apple.FinderInfo";
const uint32_t kMagic = 0x00051607;
const uint32_t kVersion = 0x00020000;
const uint32_t kFinderInfoId = 9;
const size_t kHeader = 26;   // magic, version, 16 bytes filler, entry count
const size_t kDescriptor = 12;
// Larger sidecars are somebody else's business; reading them is refused.
const uint64_t kLargest = 16 * 1024 * 1024;

uint32_t Be32(const std::string& b, size_t at)
{
    return (static_cast<uint32_t>(static_cast<uint8_t>(b[at])) << 24) | (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 16)
           | (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 8) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3]));
}

void PutBe32(std::string& b, size_t at, uint32_t v)
{
    b[at] = static_cast<char>(v >> 24);
    b[at + 1] = static_cast<char>(v >> 16);
    b[at + 2] = static_cast<char>(v >> 8);
    b[at + 3] = static_cast<char>(v);
}

// 0 and the sidecar's bytes; ENOENT when there is none. A link, or
// anything but a plain file of a sane size, is none either.
int ReadSidecar(int folder, const std::string& name, std::string& bytes)
{
    int err = ReadRegularFile(folder, SidecarName(name), kLargest, bytes, O_NOFOLLOW);
    return err == ELOOP || err == EINVAL || err == EFBIG ? ENOENT : err;
}

// Replaces the sidecar in one step: a new file beside it, renamed over it.
int WriteSidecar(const carbon::FolderHandle& dir, const std::string& name, const Info& info)
{
    const int folder = dir.Fd();
    std::string bytes;
    uint32_t offset = 0, length = 0;
    int err = ReadSidecar(folder, name, bytes);
    if (err != 0 && err != ENOENT)
        return err;
    // Other entries of an existing sidecar (a resource fork, say) are kept.
    if (err == 0 && FindEntry(bytes, offset, length) && length >= info.size()) {
        std::memcpy(bytes.data() + offset, info.data(), info.size());
    } else {
        bytes.assign(kHeader + kDescriptor + info.size(), '\0');
        PutBe32(bytes, 0, kMagic);
        PutBe32(bytes, 4, kVersion);
        bytes[24] = 0;
        bytes[25] = 1;
        PutBe32(bytes, kHeader, kFinderInfoId);
        PutBe32(bytes, kHeader + 4, static_cast<uint32_t>(kHeader + kDescriptor));
        PutBe32(bytes, kHeader + 8, static_cast<uint32_t>(info.size()));
        std::memcpy(bytes.data() + kHeader + kDescriptor, info.data(), info.size());
    }
    std::string sidecar = SidecarName(name), temp;
    int fd = detail::CreateHeldBeside(folder, sidecar, 0666, temp);
    if (fd < 0)
        return errno;
    err = WriteAll(fd, bytes);
    if (err == 0 && fsync(fd) != 0)
        err = errno;
    if (err == 0 && renameat(folder, temp.c_str(), folder, sidecar.c_str()) != 0)
        err = errno;
    if (err == 0)
        err = dir.Sync();
    else
        unlinkat(folder, temp.c_str(), 0);
    close(fd);
    return err;
}

} // namespace

std::string SidecarName(const std::string& name) { return "._" + name; }

bool FindEntry(const std::string& b, uint32_t& offset, uint32_t& length)
{
    if (b.size() < kHeader || Be32(b, 0) != kMagic || Be32(b, 4) != kVersion)
        return false;
    size_t count = (static_cast<size_t>(static_cast<uint8_t>(b[24])) << 8) | static_cast<uint8_t>(b[25]);
    if (kHeader + count * kDescriptor > b.size())
        return false;
    for (size_t i = 0; i < count; ++i) {
        size_t d = kHeader + i * kDescriptor;
        if (Be32(b, d) != kFinderInfoId)
            continue;
        uint64_t off = Be32(b, d + 4), len = Be32(b, d + 8);
        if (off + len > b.size() || off < kHeader + count * kDescriptor)
            return false;
        offset = static_cast<uint32_t>(off);
        length = static_cast<uint32_t>(len);
        return true;
    }
    return false;
}

int Read(int fd, const carbon::FolderHandle& folder, const std::string& name, Info& info)
{
    info.fill(0);
    uint8_t buf[256];
    ssize_t n = fgetxattr(fd, kAttribute, buf, sizeof buf);
    if (n >= 0) {
        std::memcpy(info.data(), buf, std::min(static_cast<size_t>(n), info.size()));
        return 0;
    }
    if (errno == ERANGE) {
        // Longer than any Finder info; its first bytes still say it.
        ssize_t size = fgetxattr(fd, kAttribute, nullptr, 0);
        if (size < 0)
            return errno;
        std::string big(static_cast<size_t>(size), '\0');
        n = fgetxattr(fd, kAttribute, big.data(), big.size());
        if (n < 0)
            return errno;
        std::memcpy(info.data(), big.data(), std::min(static_cast<size_t>(n), info.size()));
        return 0;
    }
    // Anything but "none here" is a failure to read it, and answering no
    // type would send the settings store past the file it is looking for.
    if (errno != ENODATA && errno != ENOTSUP)
        return errno;
    // No attribute, or none allowed here: the sidecar, when there is one.
    std::string bytes;
    uint32_t offset = 0, length = 0;
    int err = ReadSidecar(folder.Fd(), name, bytes);
    if (err == 0 && FindEntry(bytes, offset, length))
        std::memcpy(info.data(), bytes.data() + offset, std::min<size_t>(length, info.size()));
    return err == ENOENT ? 0 : err;
}

int CopyAttribute(int from, int to)
{
    uint8_t buf[256];
    ssize_t n = fgetxattr(from, kAttribute, buf, sizeof buf);
    if (n < 0)
        return errno == ENODATA || errno == ENOTSUP ? 0 : errno;
    return fsetxattr(to, kAttribute, buf, static_cast<size_t>(n), 0) == 0 ? 0 : errno;
}

int Write(int fd, const carbon::FolderHandle& folder, const std::string& name, const Info& info)
{
    if (fsetxattr(fd, kAttribute, info.data(), info.size(), 0) == 0)
        return 0;
    if (errno != ENOTSUP)
        return errno;
    return WriteSidecar(folder, name, info);
}

} // namespace fw::finderinfo
