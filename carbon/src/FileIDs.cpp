#include <carbon/FileIDs.h>

#include <sys/stat.h>

#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace carbon {

namespace {

struct Entry {
    std::string path;
    FolderRef handle;
    uint64_t device = 0;
};

struct Table {
    std::mutex lock;
    std::vector<uint64_t> volumes; // vRefNum -1 is volumes[0]
    std::map<std::pair<uint64_t, uint64_t>, int32_t> idOf;
    std::map<int32_t, Entry> folders;
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

int32_t DirID(const std::string& folderPath, const FolderRef& folder)
{
    struct stat st;
    if (!folder || fstat(folder->Fd(), &st) != 0)
        return 0;
    auto device = static_cast<uint64_t>(st.st_dev);
    Table& t = Ids();
    std::lock_guard<std::mutex> hold(t.lock);
    auto key = std::make_pair(device, static_cast<uint64_t>(st.st_ino));
    auto found = t.idOf.find(key);
    if (found != t.idOf.end()) {
        Entry& known = t.folders[found->second];
        known.path = folderPath;
        known.handle = folder;
        return found->second;
    }
    if (t.nextID == INT32_MAX)
        return 0;
    int32_t id = t.nextID++;
    t.idOf.emplace(key, id);
    t.folders.emplace(id, Entry { folderPath, folder, device });
    return id;
}

FolderRef Folder(int16_t vRefNum, int32_t dirID, std::string& path)
{
    Table& t = Ids();
    std::lock_guard<std::mutex> hold(t.lock);
    auto found = t.folders.find(dirID);
    if (found == t.folders.end())
        return nullptr;
    size_t volume = vRefNum < 0 ? static_cast<size_t>(-static_cast<int32_t>(vRefNum) - 1) : t.volumes.size();
    if (volume >= t.volumes.size() || t.volumes[volume] != found->second.device)
        return nullptr;
    path = found->second.path;
    return found->second.handle;
}

} // namespace carbon
