#include "HeldFile.h"

#include <unistd.h>

namespace fw::detail {

HeldFile::HeldFile(int fd)
    : fd_(fd)
{
    fstat(fd_, &st_);
}

HeldFile::~HeldFile() { close(fd_); }

bool HeldFile::Is(const struct stat& st) const { return st.st_dev == st_.st_dev && st.st_ino == st_.st_ino; }

} // namespace fw::detail
