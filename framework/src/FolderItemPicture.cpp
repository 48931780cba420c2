#include <framework/FolderItem.h>
#include <framework/Picture.h>

#include "PictureImpl.h"

#include <QImageReader>

#include <sys/stat.h>

namespace fw {

namespace {
// Mac error codes the program may read from LastErrorCode.
constexpr int32_t kFileNotFound = -43;
constexpr int32_t kIOError = -36;
} // namespace

Ref<Picture> FolderItem::OpenAsPicture() const
{
    // Only a regular file: opening a FIFO or a device would block or never end.
    struct stat st;
    if (stat(NativePath().c_str(), &st) != 0) {
        SetLastErrorCode(kFileNotFound);
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        SetLastErrorCode(kIOError);
        return nullptr;
    }
    QImageReader reader(QString::fromStdString(NativePath()), "png");
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        SetLastErrorCode(kIOError);
        return nullptr;
    }
    SetLastErrorCode(0);
    return MakePicture(std::move(image));
}

} // namespace fw
