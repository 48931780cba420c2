#pragma once

#include <framework/Object.h>

#include <string>
#include <vector>

namespace fw {

// A kind of document the application knows: a name, its file name
// extensions and its Mac type and creator. Taking its String registers it
// with the framework, once; changing any field withdraws that registration,
// so a type is registered with the fields it had when its String was taken.
class FileType : public Object {
public:
    FileType() = default;
    ~FileType() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    std::string Name() const { return name_; }
    void Name(const std::string& name);
    // Extensions joined by ";", empty for none.
    std::string Extensions() const { return extensions_; }
    void Extensions(const std::string& extensions);
    std::string MacType() const { return macType_; }
    void MacType(const std::string& type);
    std::string MacCreator() const { return macCreator_; }
    void MacCreator(const std::string& creator);

    // Registers the type unless it is registered already; answers Name.
    operator std::string();
    bool IsRegistered() const;

    // The registered types, in order of registration. A type is withdrawn
    // when it is destroyed.
    static std::vector<const FileType*> RegisteredTypes();

private:
    void Set(std::string& field, const std::string& value);
    void Withdraw();

    std::string name_;
    std::string extensions_;
    std::string macType_;
    std::string macCreator_;
};

} // namespace fw
