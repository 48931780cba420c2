#pragma once

#include <carbon/FolderHandle.h>

#include <array>
#include <cstdint>
#include <string>

// The 32 bytes of Finder info that hold a file's Mac type (bytes 0 to 3) and
// creator (4 to 7), in the extended attribute user.com.apple.FinderInfo or,
// where the file system refuses user attributes, in an AppleDouble file
// "._<name>" beside the file. Both are formats that other tools read.
//
// The file is given open (fd) and by its entry: its name in the open folder
// that holds it, where the sidecar lies.
namespace fw::finderinfo {

using Info = std::array<uint8_t, 32>;

std::string SidecarName(const std::string& name);

// The file's Finder info: 0 and the bytes (zeros when it has none), or the
// errno of a failure to read the attribute or the sidecar. Only "no such
// attribute", "attributes not supported" and "no sidecar" mean none.
int Read(int fd, const carbon::FolderHandle& folder, const std::string& name, Info& info);

// Stores the Finder info; 0 or an errno.
int Write(int fd, const carbon::FolderHandle& folder, const std::string& name, const Info& info);

// Copies the attribute, when there is one, from one open file to another;
// 0 or an errno.
int CopyAttribute(int from, int to);

// The Finder info entry of AppleDouble bytes: its offset and length, or
// false when the bytes are no valid AppleDouble file or hold no such entry.
bool FindEntry(const std::string& bytes, uint32_t& offset, uint32_t& length);

} // namespace fw::finderinfo
