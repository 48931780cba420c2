#pragma once

#include <cstdint>
#include <string>

namespace fw {

// Reads the whole regular file of that name in an open folder (AT_FDCWD
// for a path), of at most maxBytes. The open never blocks (a FIFO under
// the name answers at once) and extraOpenFlags may add, say, O_NOFOLLOW.
// Answers 0, or the errno of the failure: EINVAL for something that is not
// a regular file, EFBIG for one larger than maxBytes. A file that shrinks
// while it is read gives what was there.
int ReadRegularFile(int folder, const std::string& name, uint64_t maxBytes, std::string& bytes, int extraOpenFlags = 0);

// Writes all of the bytes, going on after interrupted writes; 0 or errno.
int WriteAll(int fd, const std::string& bytes);

} // namespace fw
