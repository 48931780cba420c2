#include "ResourceFileWriter.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace horomine::media {

namespace {

void putBe32(QByteArray& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>((v >> shift) & 0xFF));
}

void putBe24(QByteArray& out, std::uint32_t v)
{
    for (int shift = 16; shift >= 0; shift -= 8)
        out.append(static_cast<char>((v >> shift) & 0xFF));
}

void putBe16(QByteArray& out, std::uint16_t v)
{
    out.append(static_cast<char>((v >> 8) & 0xFF));
    out.append(static_cast<char>(v & 0xFF));
}

} // namespace

void ResourceFileWriter::add(const std::string& type, std::int16_t id, const std::string& name,
                             const QByteArray& data, std::uint8_t attributes)
{
    if (type.size() != 4)
        throw std::invalid_argument("resource type must be four characters: " + type);
    if (name.size() > 255)
        throw std::invalid_argument("resource name too long: " + name);
    for (const Entry& e : entries_) {
        if (e.type == type && e.id == id)
            throw std::invalid_argument("duplicate resource " + type + " " + std::to_string(id));
    }
    entries_.push_back({type, id, name, data, attributes});
}

QByteArray ResourceFileWriter::build() const
{
    // Group by type, IDs ascending within a type, so the output does not
    // depend on the order resources were added in.
    std::map<std::string, std::vector<const Entry*>> byType;
    for (const Entry& e : entries_)
        byType[e.type].push_back(&e);
    for (auto& [type, list] : byType)
        std::sort(list.begin(), list.end(), [](const Entry* a, const Entry* b) { return a->id < b->id; });

    // Data area, remembering where each resource's data starts.
    QByteArray data;
    std::map<const Entry*, std::uint32_t> dataOffsets;
    for (const auto& [type, list] : byType) {
        for (const Entry* e : list) {
            dataOffsets[e] = static_cast<std::uint32_t>(data.size());
            putBe32(data, static_cast<std::uint32_t>(e->data.size()));
            data.append(e->data);
        }
    }

    // Name list.
    QByteArray names;
    std::map<const Entry*, std::int16_t> nameOffsets;
    for (const auto& [type, list] : byType) {
        for (const Entry* e : list) {
            if (e->name.empty()) {
                nameOffsets[e] = -1;
                continue;
            }
            nameOffsets[e] = static_cast<std::int16_t>(names.size());
            names.append(static_cast<char>(e->name.size()));
            names.append(e->name.data(), static_cast<qsizetype>(e->name.size()));
        }
    }

    // Type list followed by the reference lists; offsets are from the
    // start of the type list (which begins with its count word).
    constexpr std::uint16_t kTypeListOffset = 28; // from map start
    const auto typeCount = static_cast<std::uint16_t>(byType.size());
    QByteArray typeList;
    QByteArray refLists;
    const std::uint32_t refListsStart = 2 + 8u * typeCount;
    putBe16(typeList, static_cast<std::uint16_t>(typeCount - 1)); // 0xFFFF when empty
    for (const auto& [type, list] : byType) {
        typeList.append(type.data(), 4);
        putBe16(typeList, static_cast<std::uint16_t>(list.size() - 1));
        putBe16(typeList, static_cast<std::uint16_t>(refListsStart + refLists.size()));
        for (const Entry* e : list) {
            putBe16(refLists, static_cast<std::uint16_t>(e->id));
            putBe16(refLists, static_cast<std::uint16_t>(nameOffsets[e]));
            refLists.append(static_cast<char>(e->attributes));
            putBe24(refLists, dataOffsets[e]);
            putBe32(refLists, 0); // handle, filled in by the loader
        }
    }

    const auto nameListOffset = static_cast<std::uint16_t>(kTypeListOffset + typeList.size() + refLists.size());
    const auto mapLength = static_cast<std::uint32_t>(nameListOffset + names.size());
    const auto dataLength = static_cast<std::uint32_t>(data.size());
    const std::uint32_t mapOffset = kDataOffset + dataLength;

    QByteArray header;
    putBe32(header, kDataOffset);
    putBe32(header, mapOffset);
    putBe32(header, dataLength);
    putBe32(header, mapLength);

    QByteArray map;
    map.append(header); // reserved copy of the header
    putBe32(map, 0);    // next map handle
    putBe16(map, 0);    // file reference number
    putBe16(map, 0);    // attributes
    putBe16(map, kTypeListOffset);
    putBe16(map, nameListOffset);
    map.append(typeList);
    map.append(refLists);
    map.append(names);

    QByteArray out = header;
    out.append(QByteArray(static_cast<qsizetype>(kDataOffset) - header.size(), '\0'));
    out.append(data);
    out.append(map);
    return out;
}

} // namespace horomine::media
