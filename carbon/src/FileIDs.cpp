#include <carbon/FileIDs.h>

#include <sys/stat.h>

#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace carbon {

namespace {

struct Folder {
    std::string path;
    uint64_t device = 0;
    uint64_t inode = 0;
};

struct Table {
    std::mutex lock;
    std::vector<uint64_t> volumes; // vRefNum -1 is volumes[0]
    std::map<std::pair<uint64_t, uint64_t>, int32_t> idOf;
    std::map<int32_t, Folder> folders;
    int32_t nextID = 16;
};

Table& Ids()
{
    static Table t;
    return t;
}

int16_t VolumeLocked(Table& t, uint64_t device)
{
    for (size_t i = 0; i < t.volumes.size(); ++i)
        if (t.volumes[i] == device)
            return static_cast<int16_t>(-static_cast<int32_t>(i) - 1);
    if (t.volumes.size() >= 32767)
        return 0;
    t.volumes.push_back(device);
    return static_cast<int16_t>(-static_cast<int32_t>(t.volumes.size()));
}

} // namespace

int16_t VolumeRefNum(uint64_t device)
{
    Table& t = Ids();
    std::lock_guard<std::mutex> hold(t.lock);
    return VolumeLocked(t, device);
}

int32_t DirID(const std::string& folderPath, uint64_t device, uint64_t inode)
{
    Table& t = Ids();
    std::lock_guard<std::mutex> hold(t.lock);
    auto key = std::make_pair(device, inode);
    auto found = t.idOf.find(key);
    if (found != t.idOf.end()) {
        t.folders[found->second].path = folderPath;
        return found->second;
    }
    if (t.nextID == INT32_MAX)
        return 0;
    int32_t id = t.nextID++;
    t.idOf.emplace(key, id);
    t.folders.emplace(id, Folder { folderPath, device, inode });
    return id;
}

bool FolderPath(int16_t vRefNum, int32_t dirID, std::string& path)
{
    Folder folder;
    {
        Table& t = Ids();
        std::lock_guard<std::mutex> hold(t.lock);
        auto found = t.folders.find(dirID);
        if (found == t.folders.end())
            return false;
        folder = found->second;
        size_t volume = vRefNum < 0 ? static_cast<size_t>(-static_cast<int32_t>(vRefNum) - 1) : t.volumes.size();
        if (volume >= t.volumes.size() || t.volumes[volume] != folder.device)
            return false;
    }
    // The number belongs to the folder, not to its path: a path that now
    // leads elsewhere does not resolve.
    struct stat st;
    if (stat(folder.path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)
        || static_cast<uint64_t>(st.st_dev) != folder.device || static_cast<uint64_t>(st.st_ino) != folder.inode)
        return false;
    path = folder.path;
    return true;
}

} // namespace carbon
