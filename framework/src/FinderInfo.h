#pragma once

#include <array>
#include <cstdint>
#include <string>

// The 32 bytes of Finder info that hold a file's Mac type (bytes 0 to 3) and
// creator (4 to 7), in the extended attribute user.com.apple.FinderInfo or,
// where the file system refuses user attributes, in an AppleDouble file
// "._<name>" beside the file. Both are formats that other tools read.
namespace fw::finderinfo {

using Info = std::array<uint8_t, 32>;

std::string SidecarPath(const std::string& path);

// The file's Finder info. 0 and the bytes (zeros when the file has none),
// or the errno of a failure to reach the file.
int Read(const std::string& path, Info& info);

// Stores the Finder info; 0 or an errno.
int Write(const std::string& path, const Info& info);

// The Finder info entry of AppleDouble bytes: its offset and length, or
// false when the bytes are no valid AppleDouble file or hold no such entry.
bool FindEntry(const std::string& bytes, uint32_t& offset, uint32_t& length);

} // namespace fw::finderinfo
