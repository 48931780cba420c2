#pragma once

#include <framework/Object.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fw {

class FolderItem;
class MouseCursor;

// A file in the classic resource-file layout, read whole into memory: a
// header with the offsets and lengths of the data area and the map, the map
// with its type list and reference lists, and each resource's data as a
// length followed by the bytes. Every offset is checked against the file
// before it is followed.
class ResourceFork : public Object {
public:
    // Files larger than this are refused: a classic file's data offsets
    // cannot reach beyond 16 MiB, and its map has a 16-bit size.
    static constexpr int64_t kMaxFileSize = (int64_t(1) << 24) + 256 + 0x10000;

    // Nil when the file is missing, unreadable, too large, truncated or
    // malformed.
    static Ref<ResourceFork> Open(const Ref<FolderItem>& file);
    // The same from bytes in memory.
    static Ref<ResourceFork> FromBytes(std::vector<uint8_t> bytes);

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // The 'CURS' resource of that ID as a cursor; nil when there is none or
    // its data is not a cursor (shorter than 68 bytes, or a hot spot outside
    // the 16 x 16 image).
    Ref<MouseCursor> GetCursor(int32_t id) const;

    // The data of the resource of that four-character type and ID.
    std::optional<std::vector<uint8_t>> ResourceData(const std::string& type, int32_t id) const;
    int32_t ResourceCount() const { return static_cast<int32_t>(entries_.size()); }

    struct Entry {
        std::string type;
        int16_t id = 0;
        uint32_t dataOffset = 0; // of the bytes, after the length word
        uint32_t dataLength = 0;
    };

    explicit ResourceFork(std::vector<Entry> entries, std::vector<uint8_t> bytes);

private:
    std::vector<Entry> entries_;
    std::vector<uint8_t> bytes_;
};

} // namespace fw
