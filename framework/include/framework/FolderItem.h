#pragma once

#include <framework/Object.h>

#include <cstdint>
#include <string>

namespace fw {

class Picture;
class Sound;

// A file or folder by its path, whether or not it exists. Operations that
// can fail leave the error number (errno) in LastErrorCode, 0 after success.
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

    // Removes the item (a folder only when empty) and the type and creator
    // kept beside it. A failure shows only in LastErrorCode.
    void Delete();
    // Moves the item into the destination when that is a folder, else to the
    // destination's path, where it replaces a file of that name in one
    // atomic step: a reader finds the old file or the new one, never none.
    // Across file systems a copy takes the same atomic step. Raises
    // IOException when the item cannot be moved; nothing is lost then.
    void MoveFileTo(const Ref<FolderItem>& destination);

    // The four-byte Mac type and creator; "" when the item has none. Kept in
    // the extended attribute user.com.apple.FinderInfo, or where the file
    // system refuses user attributes, in an AppleDouble file "._<name>"
    // beside the item. The setters take the first four bytes, padded with
    // blanks, and raise IOException when they cannot be stored.
    std::string MacType() const;
    void MacType(const std::string& type);
    std::string MacCreator() const;
    void MacCreator(const std::string& creator);

    // The volume reference number and the ID of the folder that holds the
    // item, as file records name them (carbon/FileIDs.h); 0 when the folder
    // cannot be reached.
    int16_t MacVRefNum() const;
    int32_t MacDirID() const;

    // A folder for temporary items on the same mounted file system as this
    // item (so that a rename between the two is one atomic step), private to
    // the user: mode 0700, owned by the user, not a symlink. Looked for, and
    // made when missing, under $TMPDIR (else /tmp), then $XDG_CACHE_HOME
    // (else ~/.cache), then the item's own folder; nil when none will do.
    Ref<FolderItem> TemporaryFolder() const;

    // The error code of the item's last failed operation; 0 after success.
    int32_t LastErrorCode() const;

    // The file's contents as a sound (WAV) or a picture (PNG); nil when the
    // file is missing or cannot be read as one (LastErrorCode EINVAL for a
    // file that is not one).
    Ref<Sound> OpenAsSound() const;
    Ref<Picture> OpenAsPicture() const;

protected:
    void SetLastErrorCode(int32_t code) const { lastError_ = code; }

private:
    friend class TextInputStream;
    friend class TextOutputStream;

    std::string FinderInfoField(int offset) const;
    void SetFinderInfoField(int offset, const std::string& value);
    // The folder that holds the item (the item itself for the root).
    std::string HoldingFolder() const;

    std::string path_;
    mutable int32_t lastError_ = 0;
};

} // namespace fw
