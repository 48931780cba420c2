#pragma once

#include <framework/Object.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace carbon {
class FolderHandle;
}

namespace fw {

class Picture;
class Sound;

namespace detail {
class HeldFile;
}

// A file or folder by its path, whether or not it exists. Operations that
// can fail leave the error number (errno) in LastErrorCode, 0 after success.
//
// An item reaches its entry through the folder that holds it, opened once
// on first need and kept: later operations meet that same folder, however
// the path changes meanwhile. An item made from a path opens that folder by
// its path, and itself as a folder by its whole path, following links. The
// items of a folder (Child) share the folder's own handle; a folder that is
// itself a Child, or a TemporaryFolder, opens that handle from its holder
// without following a link. Where it cannot be opened (the folder is
// missing, or its name is a link), the items find their folder by their
// path, following links. No item follows a link at its own name when it
// writes.
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
    // Something of this name is on disk (a dangling symlink counts; see
    // Reserve for a file not yet written). False only when the name or a
    // folder on its path is missing (ENOENT, ENOTDIR); raises IOException
    // when it cannot be told, as in a folder the user may not search.
    bool Exists() const;
    bool Directory() const;

    // Removes the item (a folder only when empty) and the type and creator
    // kept beside it. A plain file that a save is writing (see Reserve) is
    // left alone, EBUSY. A failure shows only in LastErrorCode.
    void Delete();
    // Reserves the item's name for a file this process is about to write:
    // makes a new, empty file there, never reusing or following anything at
    // the name, and holds it while this item (or a stream writing it) lives,
    // so that Delete, in this process or another, leaves it alone. A stream
    // created on the item writes that very file. Until such a stream has
    // been closed the file counts as not there (Exists answers False), and
    // the item removes it when it goes. False, with EEXIST, when the name is
    // taken; raises IOException when the file cannot be made.
    bool Reserve();
    // The names of the items in this folder. Raises IOException when the
    // folder cannot be read.
    std::vector<std::string> ChildNames() const;
    // Moves the item into the destination when that is a folder, else to the
    // destination's path, where it replaces a file of that name in one
    // atomic step: a reader finds the old file or the new one, never none.
    // Across file systems only a plain file moves: a copy written beside the
    // target and flushed takes the same atomic step, then the destination's
    // folder is flushed, and only then is the original removed (a failure
    // to remove it is not reported). Raises IOException when the item
    // cannot be moved; both files are as they were then. It also raises
    // when a folder cannot be flushed to disk after the rename: within one
    // file system the file has moved, but a power cut may undo it; across
    // file systems the copy stands at the destination and the original
    // has not been removed.
    void MoveFileTo(const Ref<FolderItem>& destination);

    // The four-byte Mac type and creator; "" when the item has none (a
    // missing item, a link, anything but a file or folder). Kept in the
    // extended attribute user.com.apple.FinderInfo, or where the file system
    // refuses user attributes, in an AppleDouble file "._<name>" beside the
    // item. Raise IOException when they cannot be read; the setters take the
    // first four bytes, padded with blanks, and raise IOException when they
    // cannot be stored.
    std::string MacType() const;
    void MacType(const std::string& type);
    std::string MacCreator() const;
    void MacCreator(const std::string& creator);

    // The permission bits (mode & 07777) of a plain file or folder, read
    // and set at the item's own name (a held file's are set through its
    // descriptor), never through a link. Raise
    // IOException when they cannot be read or set, and for anything else at
    // the name (a link: ELOOP; a FIFO or device: EINVAL).
    int32_t Permissions() const;
    void Permissions(int32_t mode);

    // The volume reference number and the ID of the folder that holds the
    // item, as file records name them (carbon/FileIDs.h); 0 when the folder
    // cannot be reached.
    int16_t MacVRefNum() const;
    int32_t MacDirID() const;

    // A folder for temporary items on the same mounted file system as this
    // item (so that a rename between the two is one atomic step), private to
    // the user: mode 0700, owned by the user, not a symlink. Looked for, and
    // made when missing, under $TMPDIR (else /tmp), then $XDG_CACHE_HOME
    // (else ~/.cache), then the item's own folder; only in a folder where no
    // other user can rename entries (the user's or root's, and writable by
    // others only when it is root's and sticky, as /tmp). Nil when none will
    // do, with the last failure in LastErrorCode.
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
    using Handle = std::shared_ptr<const carbon::FolderHandle>;

    std::string FinderInfoField(int offset) const;
    void SetFinderInfoField(int offset, const std::string& value);
    // The path of the folder that holds the item (the item itself for the
    // root).
    std::string HoldingFolder() const;
    // The open folder that holds the item, and the item itself as an open
    // folder; nullptr, with errno set, when it cannot be opened.
    Handle Holder() const;
    Handle Self() const;
    // The file Reserve made, while the item's name still leads to it.
    detail::HeldFile* Held() const;
    [[noreturn]] void Fail(const std::string& what, int err) const;

    std::string path_;
    mutable int32_t lastError_ = 0;
    mutable Handle holder_;
    mutable Handle self_;
    // Made by Child or TemporaryFolder: its own folder is opened from its
    // holder, never through a link.
    bool derived_ = false;
    std::shared_ptr<detail::HeldFile> held_;
};

} // namespace fw
