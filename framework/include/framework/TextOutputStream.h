#pragma once

#include <framework/FolderItem.h>
#include <framework/Object.h>

#include <string>

namespace fw {

// Writes bytes to a new file, exactly as given.
class TextOutputStream : public Object {
    struct Key {
        explicit Key() = default;
    };

public:
    // A new, empty file of the item's name, replacing any earlier one (which
    // is emptied in place). Raises IOException, whose ErrorNumber is the
    // item's LastErrorCode, when it cannot be made, and for anything there
    // that is not a plain file (a folder, a FIFO, a device);
    // NilObjectException for nil.
    static Ref<TextOutputStream> Create(const Ref<FolderItem>& file);
    TextOutputStream(Key, Ref<FolderItem> file, int fd, bool created);
    ~TextOutputStream() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // Raises IOException when the bytes cannot all be written.
    void Write(const std::string& data);
    // Writes the file through to stable storage and closes it; raises
    // IOException when that fails, since the file may then not be whole.
    void Close();

private:
    [[noreturn]] void Fail(const char* what, int err);

    Ref<FolderItem> file_;
    int fd_ = -1;
    bool created_ = false;
};

} // namespace fw
