#pragma once

#include <framework/Object.h>

#include <cstdint>
#include <string>

namespace fw {

class Picture;
class Sound;

// A file or folder by its path, whether or not it exists.
class FolderItem : public Object {
public:
    explicit FolderItem(std::string path);
    ~FolderItem() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // The absolute path in the file system's own encoding.
    std::string NativePath() const;
    std::string Name() const;
    // The item of that name in this folder; nil for a name that cannot name
    // an item of a folder (empty, ".", "..", or holding "/" or a zero byte).
    Ref<FolderItem> Child(const std::string& name) const;
    // The folder that holds the item; nil for the root.
    Ref<FolderItem> Parent() const;
    // Something of this name is on disk (a dangling symlink counts).
    bool Exists() const;
    bool Directory() const;

    // The error code of the item's last failed operation; 0 after success.
    int32_t LastErrorCode() const;

    // The file's contents as a sound (WAV) or a picture (PNG); nil when the
    // file is missing or cannot be read as one.
    Ref<Sound> OpenAsSound() const;
    Ref<Picture> OpenAsPicture() const;

protected:
    void SetLastErrorCode(int32_t code) const { lastError_ = code; }

private:
    std::string path_;
    mutable int32_t lastError_ = 0;
};

} // namespace fw
