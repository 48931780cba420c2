#include <framework/FolderItem.h>
#include <framework/Picture.h>

#include "FileBytes.h"
#include "PictureImpl.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <fcntl.h>

#include <cerrno>

namespace fw {

namespace {
// Larger than any picture the program draws; refused unread.
constexpr uint64_t kMaxPictureFileBytes = 64 * 1024 * 1024;
} // namespace

Ref<Picture> FolderItem::OpenAsPicture() const
{
    // Only a regular file: opening a FIFO or a device would block or never end.
    std::string bytes;
    if (int err = ReadRegularFile(AT_FDCWD, NativePath(), kMaxPictureFileBytes, bytes)) {
        SetLastErrorCode(err);
        return nullptr;
    }
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer device(&data);
    device.open(QIODevice::ReadOnly);
    QImageReader reader(&device, "png");
    // PNG is built into the toolkit; detecting the format would load every
    // image plug-in first, a cost paid before the first scene shows.
    reader.setAutoDetectImageFormat(false);
    QImage image;
    if (!reader.read(&image)) {
        SetLastErrorCode(EINVAL); // not a PNG we can read
        return nullptr;
    }
    SetLastErrorCode(0);
    return MakePicture(std::move(image));
}

} // namespace fw
