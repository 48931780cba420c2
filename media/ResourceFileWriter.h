#pragma once

#include <QByteArray>

#include <cstdint>
#include <string>
#include <vector>

namespace horomine::media {

// Builds a file in the classic Macintosh resource-file layout: header,
// data area, then the resource map with its type list, reference lists
// and name list. All integers are big-endian.
class ResourceFileWriter {
public:
    // `type` must be exactly four characters (Mac Roman, plain ASCII here).
    void add(const std::string& type, std::int16_t id, const std::string& name, const QByteArray& data,
             std::uint8_t attributes = 0);

    QByteArray build() const;

    // Classic files start their data here: a 16-byte header then zeros.
    static constexpr std::uint32_t kDataOffset = 256;

private:
    struct Entry {
        std::string type;
        std::int16_t id;
        std::string name;
        QByteArray data;
        std::uint8_t attributes;
    };
    std::vector<Entry> entries_;
};

} // namespace horomine::media
