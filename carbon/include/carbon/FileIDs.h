#pragma once

#include <carbon/FolderHandle.h>

#include <cstdint>
#include <string>

// The numbers that file records carry. A volume is a mounted file system,
// known by its device; a folder is known by its device and inode, and the
// table holds it open, so a record names that very folder wherever it goes.
// The framework asks for numbers when a program asks an item for them, and
// the exchange resolves records back to folders here, so both share this
// one table of the process. Numbers are never reused within a process.
namespace carbon {

// The volume reference number of the file system on that device:
// -1, -2, ... in the order first asked for; 0 when no more can be given.
int16_t VolumeRefNum(uint64_t device);

// The folder ID of that open folder, known by its path: the same number
// each time for the same folder, from 16 upwards (lower numbers are
// reserved); 0 when no more can be given or the folder cannot be looked at.
// The handle and path last given are the ones a record resolves to.
int32_t DirID(const std::string& folderPath, const FolderRef& folder);

// The folder that the numbers name, and its path; nullptr when the numbers
// were never handed out or do not belong together.
FolderRef Folder(int16_t vRefNum, int32_t dirID, std::string& path);

} // namespace carbon
