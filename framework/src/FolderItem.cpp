#include <framework/FolderItem.h>

#include <sys/stat.h>

namespace fw {

namespace {
std::string Normalized(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}
} // namespace

FolderItem::FolderItem(std::string path)
    : path_(Normalized(std::move(path)))
{
}

FolderItem::~FolderItem() = default;

const ClassRecord& FolderItem::Record()
{
    static const ClassRecord record { "FolderItem", &Object::Record(),
        { Property("Name", PropertyType::String, Scope::Public),
            Property("Exists", PropertyType::Boolean, Scope::Public),
            Property("Directory", PropertyType::Boolean, Scope::Public),
            Property("LastErrorCode", PropertyType::Int32, Scope::Public) },
        { { "Child", "(name As String) As FolderItem" }, { "Parent", "() As FolderItem" },
            { "OpenAsSound", "() As Sound" }, { "OpenAsPicture", "() As Picture" } },
        {} };
    return record;
}

const ClassRecord& FolderItem::ClassInfo() const { return Record(); }

std::string FolderItem::NativePath() const { return path_; }

std::string FolderItem::Name() const
{
    if (path_ == "/")
        return path_;
    size_t slash = path_.rfind('/');
    return slash == std::string::npos ? path_ : path_.substr(slash + 1);
}

Ref<FolderItem> FolderItem::Child(const std::string& name) const
{
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos
        || name.find('\0') != std::string::npos)
        return nullptr;
    return New<FolderItem>(path_ == "/" ? "/" + name : path_ + "/" + name);
}

Ref<FolderItem> FolderItem::Parent() const
{
    if (path_ == "/" || path_.empty())
        return nullptr;
    size_t slash = path_.rfind('/');
    if (slash == std::string::npos)
        return nullptr;
    return New<FolderItem>(slash == 0 ? "/" : path_.substr(0, slash));
}

bool FolderItem::Exists() const
{
    struct stat st;
    return lstat(path_.c_str(), &st) == 0;
}

bool FolderItem::Directory() const
{
    struct stat st;
    return stat(path_.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int32_t FolderItem::LastErrorCode() const { return lastError_; }

} // namespace fw
