#include <framework/FolderItem.h>
#include <framework/MouseCursor.h>
#include <framework/ResourceFork.h>

#include "FileBytes.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>

namespace fw {

namespace {
constexpr uint32_t kHeaderSize = 16;
constexpr uint32_t kMapHeaderSize = 28; // header copy, next map, file ref, attributes, two offsets
constexpr uint32_t kTypeEntrySize = 8;
constexpr uint32_t kRefEntrySize = 12;
constexpr uint32_t kCursorSize = 68; // image rows, mask rows, hot spot (v, h)

// A bounds-checked big-endian view of a byte range.
class Reader {
public:
    Reader(const std::vector<uint8_t>& bytes, uint64_t start, uint64_t length)
        : bytes_(bytes)
        , start_(start)
        , length_(length)
    {
    }
    bool Has(uint64_t offset, uint64_t width) const { return offset <= length_ && width <= length_ - offset; }
    uint32_t U(uint64_t offset, int width) const
    {
        uint32_t v = 0;
        for (int i = 0; i < width; ++i)
            v = (v << 8) | bytes_[static_cast<size_t>(start_ + offset + static_cast<uint64_t>(i))];
        return v;
    }

private:
    const std::vector<uint8_t>& bytes_;
    uint64_t start_;
    uint64_t length_;
};

} // namespace

ResourceFork::ResourceFork(std::vector<Entry> entries, std::vector<uint8_t> bytes)
    : entries_(std::move(entries))
    , bytes_(std::move(bytes))
{
}

const ClassRecord& ResourceFork::Record()
{
    static const ClassRecord record { "ResourceFork", &Object::Record(), {},
        { Method("GetCursor", &ResourceFork::GetCursor) }, {} };
    return record;
}

const ClassRecord& ResourceFork::ClassInfo() const { return Record(); }

Ref<ResourceFork> ResourceFork::Open(const Ref<FolderItem>& file)
{
    if (!file)
        return nullptr;
    std::string bytes;
    if (ReadRegularFile(AT_FDCWD, file->NativePath(), static_cast<uint64_t>(kMaxFileSize), bytes) != 0)
        return nullptr;
    return FromBytes(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

Ref<ResourceFork> ResourceFork::FromBytes(std::vector<uint8_t> bytes)
{
    const uint64_t size = bytes.size();
    if (size > static_cast<uint64_t>(kMaxFileSize))
        return nullptr;
    Reader file(bytes, 0, size);
    if (!file.Has(0, kHeaderSize))
        return nullptr;
    const uint64_t dataOffset = file.U(0, 4);
    const uint64_t mapOffset = file.U(4, 4);
    const uint64_t dataLength = file.U(8, 4);
    const uint64_t mapLength = file.U(12, 4);
    if (!file.Has(dataOffset, dataLength) || !file.Has(mapOffset, mapLength))
        return nullptr;

    Reader data(bytes, dataOffset, dataLength);
    Reader map(bytes, mapOffset, mapLength);
    if (!map.Has(0, kMapHeaderSize + 2))
        return nullptr;
    const uint64_t typeListOffset = map.U(24, 2);
    const uint64_t nameListOffset = map.U(26, 2);
    if (!map.Has(typeListOffset, 2) || nameListOffset > mapLength)
        return nullptr;

    // Counts are stored less one; a type count of 0xFFFF means no types.
    const uint64_t typeCount = (map.U(typeListOffset, 2) + 1) & 0xFFFF;
    if (!map.Has(typeListOffset + 2, typeCount * kTypeEntrySize))
        return nullptr;

    // Each reference list has bytes of the map of its own: lists that
    // overlap would multiply the entries of a small file without bound.
    struct List {
        uint64_t begin, end;
        std::string type;
    };
    std::vector<List> lists;
    for (uint64_t t = 0; t < typeCount; ++t) {
        const uint64_t at = typeListOffset + 2 + t * kTypeEntrySize;
        List list;
        for (int i = 0; i < 4; ++i)
            list.type.push_back(static_cast<char>(map.U(at + static_cast<uint64_t>(i), 1)));
        list.begin = typeListOffset + map.U(at + 6, 2);
        list.end = list.begin + (map.U(at + 4, 2) + 1) * kRefEntrySize;
        if (!map.Has(list.begin, list.end - list.begin))
            return nullptr;
        lists.push_back(std::move(list));
    }
    std::vector<List> sorted = lists;
    std::sort(sorted.begin(), sorted.end(), [](const List& a, const List& b) { return a.begin < b.begin; });
    for (size_t i = 1; i < sorted.size(); ++i)
        if (sorted[i].begin < sorted[i - 1].end)
            return nullptr;

    std::vector<Entry> entries;
    for (const List& list : lists) {
        for (uint64_t ref = list.begin; ref < list.end; ref += kRefEntrySize) {
            const uint64_t offset = map.U(ref + 5, 3);
            if (!data.Has(offset, 4))
                return nullptr;
            const uint64_t length = data.U(offset, 4);
            if (!data.Has(offset + 4, length))
                return nullptr;
            Entry e;
            e.type = list.type;
            e.id = static_cast<int16_t>(map.U(ref, 2));
            e.dataOffset = static_cast<uint32_t>(dataOffset + offset + 4);
            e.dataLength = static_cast<uint32_t>(length);
            entries.push_back(std::move(e));
        }
    }
    return New<ResourceFork>(std::move(entries), std::move(bytes));
}

std::optional<std::vector<uint8_t>> ResourceFork::ResourceData(const std::string& type, int32_t id) const
{
    for (const Entry& e : entries_)
        if (e.type == type && e.id == id) {
            auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(e.dataOffset);
            return std::vector<uint8_t>(first, first + static_cast<std::ptrdiff_t>(e.dataLength));
        }
    return std::nullopt;
}

Ref<MouseCursor> ResourceFork::GetCursor(int32_t id) const
{
    std::optional<std::vector<uint8_t>> data = ResourceData("CURS", id);
    if (!data || data->size() < kCursorSize)
        return nullptr;
    const std::vector<uint8_t>& d = *data;
    auto word = [&](size_t at) { return static_cast<uint16_t>((d[at] << 8) | d[at + 1]); };
    MouseCursor::Rows image {}, mask {};
    for (size_t i = 0; i < MouseCursor::kSize; ++i) {
        image[i] = word(2 * i);
        mask[i] = word(32 + 2 * i);
    }
    // The hot spot is a point: vertical first.
    const int32_t v = static_cast<int16_t>(word(64));
    const int32_t h = static_cast<int16_t>(word(66));
    if (v < 0 || h < 0 || v >= MouseCursor::kSize || h >= MouseCursor::kSize)
        return nullptr;
    return New<MouseCursor>(image, mask, h, v);
}

} // namespace fw
