#include <framework/ApplicationBundle.h>

#include <filesystem>
#include <system_error>

namespace fw {

Ref<FolderItem> GetApplicationExecutable()
{
    // The kernel's link names the file that was executed, whatever name or
    // symbolic link it was started through.
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty() || !exe.is_absolute())
        return nullptr;
    return New<FolderItem>(exe.string());
}

Ref<FolderItem> GetApplicationBundleResources()
{
    Ref<FolderItem> exe = GetApplicationExecutable();
    Ref<FolderItem> resources = exe->Parent()->Parent()->Child("Resources");
    if (!resources || !resources->Directory())
        return nullptr;
    return resources;
}

} // namespace fw
