#include <framework/FolderItem.h>
#include <framework/Picture.h>

#include "FileBytes.h"
#include "PictureImpl.h"

#include <QImage>

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
    if (int err = ReadRegularFile(NativePath(), kMaxPictureFileBytes, bytes)) {
        SetLastErrorCode(err);
        return nullptr;
    }
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "PNG")) {
        SetLastErrorCode(EINVAL); // not a PNG we can read
        return nullptr;
    }
    SetLastErrorCode(0);
    return MakePicture(std::move(image));
}

} // namespace fw
