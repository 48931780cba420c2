#include <framework/FileType.h>

#include <algorithm>

namespace fw {

namespace {
std::vector<const FileType*>& Registered()
{
    static std::vector<const FileType*> types;
    return types;
}
} // namespace

FileType::~FileType() { Withdraw(); }

const ClassRecord& FileType::Record()
{
    static const ClassRecord record { "FileType", &Object::Record(),
        { Property<FileType>("Name", &FileType::Name), Property<FileType>("Extensions", &FileType::Extensions),
            Property<FileType>("MacType", &FileType::MacType),
            Property<FileType>("MacCreator", &FileType::MacCreator) },
        {}, {} };
    return record;
}

const ClassRecord& FileType::ClassInfo() const { return Record(); }

void FileType::Name(const std::string& name) { Set(name_, name); }
void FileType::Extensions(const std::string& extensions) { Set(extensions_, extensions); }
void FileType::MacType(const std::string& type) { Set(macType_, type); }
void FileType::MacCreator(const std::string& creator) { Set(macCreator_, creator); }

void FileType::Set(std::string& field, const std::string& value)
{
    Withdraw();
    field = value;
}

FileType::operator std::string()
{
    if (!IsRegistered())
        Registered().push_back(this);
    return name_;
}

bool FileType::IsRegistered() const
{
    const auto& types = Registered();
    return std::find(types.begin(), types.end(), this) != types.end();
}

std::vector<const FileType*> FileType::RegisteredTypes() { return Registered(); }

void FileType::Withdraw() { std::erase(Registered(), this); }

} // namespace fw
