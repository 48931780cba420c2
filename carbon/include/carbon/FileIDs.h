#pragma once

#include <cstdint>
#include <string>

// The numbers that file records carry. A volume is a mounted file system,
// known by its device; a folder is known by its device and inode. The
// framework asks for numbers when a program asks an item for them, and the
// exchange resolves records back to paths here, so both share this one
// table of the process. Numbers are never reused within a process.
namespace carbon {

// The volume reference number of the file system on that device:
// -1, -2, ... in the order first asked for; 0 when no more can be given.
int16_t VolumeRefNum(uint64_t device);

// The folder ID of the folder at that path, which has that device and
// inode: the same number each time for the same folder, from 16 upwards
// (lower numbers are reserved); 0 when no more can be given. The path last
// given is the one that resolves.
int32_t DirID(const std::string& folderPath, uint64_t device, uint64_t inode);

// The path of a folder by its numbers. False when the numbers were never
// handed out, or when the folder at that path is no longer the same one
// (moved, deleted, replaced).
bool FolderPath(int16_t vRefNum, int32_t dirID, std::string& path);

} // namespace carbon
