#pragma once

#include <framework/FolderItem.h>
#include <framework/Object.h>

#include <cstdint>
#include <string>

namespace fw {

// Reads a file's bytes as they are, with no text encoding applied.
class TextInputStream : public Object {
    struct Key {
        explicit Key() = default;
    };

public:
    // Opens the file. Raises IOException, whose ErrorNumber is the item's
    // LastErrorCode, when it cannot be opened; NilObjectException for nil.
    // The open never waits for a FIFO's writer, but a read does: ReadAll of
    // a FIFO whose writer never writes waits as long.
    static Ref<TextInputStream> Open(const Ref<FolderItem>& file);
    TextInputStream(Key, Ref<FolderItem> file, int fd);
    ~TextInputStream() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // The open file's length in bytes, as it stands now (nothing is read).
    // Raises IOException when it cannot be had.
    int64_t Length() const;
    // Everything from here to the end. Raises IOException on a read error.
    std::string ReadAll();
    void Close();

private:
    Ref<FolderItem> file_;
    int fd_ = -1;
};

} // namespace fw
