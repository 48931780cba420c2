#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Entries of a folder, reached through an open handle of the folder (a
// descriptor from carbon::OpenFolder) and never through a link.
namespace fw::detail {

class HeldFile;

// Whether the entry of that name (not followed) is the open file fd.
bool NameIs(int folder, const std::string& name, int fd);

// Makes a new file of that name, never reusing or following what is there,
// and holds it: open for reading and writing, locked. Answers the
// descriptor, or -1 with errno (EEXIST when the name is taken).
int CreateHeld(int folder, const std::string& name, mode_t mode);

// Makes a new held file beside the named one, of a name of its own:
// "." + name + "." + six random characters. Files of that pattern that no
// one holds are left over from writes cut short and are removed first.
// Answers the descriptor and the name made, or -1 with errno.
int CreateHeldBeside(int folder, const std::string& name, mode_t mode, std::string& made);

// Removes the entry (a folder only when empty). A plain file that someone
// holds (see CreateHeld), other than `mine`, is left alone: EBUSY. 0 or
// errno.
int RemoveUnlessHeld(int folder, const std::string& name, const HeldFile* mine = nullptr);

// The names in the folder but "." and ".."; 0 or errno.
int ListFolder(int folder, std::vector<std::string>& names);

} // namespace fw::detail
