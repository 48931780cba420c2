#pragma once

#include <framework/FolderItem.h>
#include <framework/Object.h>

#include <memory>
#include <string>

namespace fw {

// Writes bytes to a new file, exactly as given.
class TextOutputStream : public Object {
    struct Key {
        explicit Key() = default;
    };

public:
    // A new, empty file of the item's name, replacing any earlier one. The
    // bytes go to a new file beside it, which Close renames over it: an
    // earlier file stays whole until then, and for good when the stream is
    // never closed or Close fails before the rename, and the new one takes
    // over its mode and its type and creator.
    // A file that the item reserved (FolderItem::Reserve) is written itself.
    // Raises IOException, whose ErrorNumber is the item's LastErrorCode,
    // when it cannot be made, and for anything there that is not a plain
    // file the user may write (a folder, a link, a FIFO, a device);
    // NilObjectException for nil.
    static Ref<TextOutputStream> Create(const Ref<FolderItem>& file);
    TextOutputStream(Key, Ref<FolderItem> file, int fd);
    // A stream never closed leaves no file of its own behind.
    ~TextOutputStream() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // Raises IOException when the bytes cannot all be written.
    void Write(const std::string& data);
    // Writes the file through to stable storage, puts it in place, closes
    // it and writes its folder through; raises IOException when any of it
    // fails. When writing the file through or the rename fails, the new
    // file is removed and an earlier one kept. When closing the file or
    // writing the folder through fails, the new file is already in place
    // and the earlier one gone, but the rename may not have reached the
    // disk. A reserved file for which any of it fails counts as never
    // written, and goes with its item.
    void Close();

private:
    // Opens a new file beside the item's: 0 or errno.
    int OpenBeside();
    void Discard();

    Ref<FolderItem> file_;
    int fd_ = -1;
    // The folder that receives the file, and the name it is written under
    // until Close ("" for a reserved file, written in place).
    std::shared_ptr<const carbon::FolderHandle> folder_;
    std::string temp_;
    // The file that the item reserved, when it is the one written.
    std::shared_ptr<detail::HeldFile> reserved_;
};

} // namespace fw
