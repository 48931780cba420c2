#pragma once

#include <framework/Picture.h>
#include <framework/RecordWriter.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace test {

// The temporary HOME of this test process; TMPDIR, XDG_CONFIG_HOME and
// XDG_CACHE_HOME lie inside it.
const std::filesystem::path& Home();

// Empties the Preferences and temporary folders of the test HOME, for tests
// that share one process.
void EmptyPreferencesAndTemporaryFolders();

std::string ReadFile(const std::filesystem::path& p);
void WriteFile(const std::filesystem::path& p, const std::string& bytes);
// How many entries the folder holds; 0 when there is none.
size_t Entries(const std::filesystem::path& folder);
// The file's Mac type and creator, one after the other ("PREFHRMN").
std::string TypeAndCreator(const std::filesystem::path& p);

// While it lives, permission bits hold for this process as for any user:
// root, or the owner of a user namespace, sets aside its power to pass them
// (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH) and takes it back at the end.
class PermissionBitsApply {
public:
    PermissionBitsApply();
    ~PermissionBitsApply();
    // "" when they hold; else why they cannot be made to.
    std::string why;

private:
    uint32_t saved_ = 0; // the first word of the effective set, which holds both
};

// A property record of the kind with every key: the values given, and 0,
// False, "" or black by type for the others.
std::string Record(fw::RecordKind kind, const std::map<std::string, fw::Value>& values);

// The colour of one pixel of a picture as 0xRRGGBB.
uint32_t PixelAt(const fw::Ref<fw::Picture>& picture, int32_t x, int32_t y);
// How many pixels of the rectangle have exactly that colour.
int32_t CountColor(const fw::Ref<fw::Picture>& picture, uint32_t rgb, int32_t x, int32_t y, int32_t w, int32_t h);

} // namespace test
