#include "FinderInfo.h"
#include "FileBytes.h"

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

// 0 and the sidecar's bytes; ENOENT when there is none.
int ReadSidecar(const std::string& path, std::string& bytes)
{
    return ReadRegularFile(SidecarPath(path), kLargest, bytes, O_NOFOLLOW);
}

// Replaces the sidecar in one step: a new file beside it, renamed over it.
int WriteSidecar(const std::string& path, const Info& info)
{
    std::string bytes;
    uint32_t offset = 0, length = 0;
    // Other entries of an existing sidecar (a resource fork, say) are kept.
    if (ReadSidecar(path, bytes) == 0 && FindEntry(bytes, offset, length) && length >= info.size()) {
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
    std::string sidecar = SidecarPath(path);
    std::string temp = sidecar + ".XXXXXX";
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    int err = WriteAll(fd, bytes);
    if (err == 0 && fsync(fd) != 0)
        err = errno;
    if (close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && rename(temp.c_str(), sidecar.c_str()) != 0)
        err = errno;
    if (err != 0)
        unlink(temp.c_str());
    return err;
}

} // namespace

std::string SidecarPath(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return "._" + path;
    return path.substr(0, slash + 1) + "._" + path.substr(slash + 1);
}

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

int Read(const std::string& path, Info& info)
{
    info.fill(0);
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return errno;
    uint8_t buf[256];
    ssize_t n = getxattr(path.c_str(), kAttribute, buf, sizeof buf);
    if (n >= 0) {
        std::memcpy(info.data(), buf, std::min(static_cast<size_t>(n), info.size()));
        return 0;
    }
    if (errno == ERANGE) {
        // Longer than any Finder info; its first bytes still say it.
        ssize_t size = getxattr(path.c_str(), kAttribute, nullptr, 0);
        if (size > 0) {
            std::string big(static_cast<size_t>(size), '\0');
            n = getxattr(path.c_str(), kAttribute, big.data(), big.size());
            if (n >= 0) {
                std::memcpy(info.data(), big.data(), std::min(static_cast<size_t>(n), info.size()));
                return 0;
            }
        }
    }
    // No attribute, or none allowed here: the sidecar, when there is one.
    std::string bytes;
    uint32_t offset = 0, length = 0;
    if (ReadSidecar(path, bytes) == 0 && FindEntry(bytes, offset, length))
        std::memcpy(info.data(), bytes.data() + offset, std::min<size_t>(length, info.size()));
    return 0;
}

int Write(const std::string& path, const Info& info)
{
    if (setxattr(path.c_str(), kAttribute, info.data(), info.size(), 0) == 0)
        return 0;
    if (errno != ENOTSUP)
        return errno;
    return WriteSidecar(path, info);
}

} // namespace fw::finderinfo
