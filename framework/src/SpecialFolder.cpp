#include <framework/Exceptions.h>
#include <framework/SpecialFolder.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace fw {

namespace {

std::string Home()
{
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return home;
    struct passwd pw;
    struct passwd* found = nullptr;
    std::vector<char> buf(16384);
    if (getpwuid_r(geteuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir
        && found->pw_dir[0] == '/')
        return found->pw_dir;
    return {};
}

// Makes the folder and any missing folders above it, each private to the
// user as the base directory rules ask; 0 or the errno of the first that
// cannot be made.
int MakeFolders(const std::string& path)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return errno;
        if (slash == std::string::npos)
            return 0;
    }
}

} // namespace

Ref<FolderItem> SpecialFolder::Preferences()
{
    // Relative values are invalid by the base directory rules and ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string path;
    if (config && config[0] == '/') {
        path = config;
    } else {
        std::string home = Home();
        if (home.empty())
            return nullptr;
        path = home == "/" ? "/.config" : home + "/.config";
    }
    auto folder = New<FolderItem>(path);
    // Made only where it is missing: a folder that is there but cannot be
    // reached (a folder above it the user may not search) is reported, not
    // taken for a missing one.
    struct stat st;
    int err = stat(path.c_str(), &st) == 0 ? 0 : errno;
    if (err != 0 && err != ENOENT && err != ENOTDIR)
        throw IOException("cannot reach the Preferences folder " + path + ": " + std::strerror(err), err);
    if (err != 0 || !S_ISDIR(st.st_mode)) {
        err = MakeFolders(path);
        if (err == 0)
            err = stat(path.c_str(), &st) != 0 ? errno : S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
        if (err != 0)
            throw IOException("cannot make the Preferences folder " + path + ": " + std::strerror(err), err);
    }
    return folder;
}

} // namespace fw
