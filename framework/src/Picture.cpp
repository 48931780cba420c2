#include "PictureImpl.h"

#include <framework/Graphics.h>

#include "GraphicsImpl.h"

namespace fw {

namespace {
QImage::Format FormatForDepth(int32_t depth)
{
    switch (depth) {
    case 1: return QImage::Format_Mono;
    case 8: return QImage::Format_Grayscale8; // the toolkit cannot paint on indexed images
    case 16: return QImage::Format_RGB16;
    case 24: return QImage::Format_RGB888;
    default: return QImage::Format_RGB32;
    }
}
} // namespace

const QImage& Picture::Impl::Drawable() const
{
    const QImage& image = surface->Pixels();
    if (transparent != 1)
        return image;
    if (maskedGeneration_ != surface->generation || masked_.isNull()) {
        masked_ = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < masked_.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(masked_.scanLine(y));
            for (int x = 0; x < masked_.width(); ++x)
                if ((line[x] & 0x00FFFFFF) == 0x00FFFFFF)
                    line[x] = 0;
        }
        masked_ = masked_.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        maskedGeneration_ = surface->generation;
    }
    return masked_;
}

Picture::Picture(int32_t width, int32_t height, int32_t depth)
{
    // A width of 32767 is taken and a height of 32767 refused, although the
    // message names one range for both: callers size their pictures by
    // exactly these bounds.
    if (width < 1 || width > 32767 || height < 1 || height >= 32767)
        throw OutOfBoundsException("Width/Height needs to be in the range 1-32767");
    impl_ = std::make_unique<Impl>();
    impl_->depth = (depth == 1 || depth == 8 || depth == 16 || depth == 24) ? depth : 32;
    impl_->surface = std::make_shared<Surface>();
    impl_->surface->image = QImage(width, height, FormatForDepth(impl_->depth));
    if (impl_->surface->image.isNull())
        throw OutOfBoundsException("Width/Height needs to be in the range 1-32767");
    QImage& image = impl_->surface->image;
    if (image.format() == QImage::Format_Mono) {
        image.setColorTable({ qRgb(255, 255, 255), qRgb(0, 0, 0) });
        image.fill(0);
    } else {
        image.fill(Qt::white);
    }
}

Picture::Picture(std::unique_ptr<Impl> impl)
    : impl_(std::move(impl))
{
}

Picture::~Picture() = default;

Ref<Picture> MakePicture(QImage image)
{
    auto impl = std::make_unique<Picture::Impl>();
    impl->surface = std::make_shared<Surface>();
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_RGB32);
    impl->depth = 32;
    impl->surface->image = std::move(image);
    return Ref<Picture>(std::make_shared<Picture>(std::move(impl)));
}

const ClassRecord& Picture::Record()
{
    static const ClassRecord record { "Picture", &Object::Record(),
        { GetterProperty("Width", &Picture::Width), GetterProperty("Height", &Picture::Height),
            GetterProperty("Depth", &Picture::Depth), GetterProperty("Transparent", &Picture::Transparent) },
        { Method("Graphics", &Picture::Graphics) }, {} };
    return record;
}

const ClassRecord& Picture::ClassInfo() const { return Record(); }

int32_t Picture::Width() const { return impl_->surface->image.width(); }
int32_t Picture::Height() const { return impl_->surface->image.height(); }
int32_t Picture::Depth() const { return impl_->depth; }

Ref<fw::Graphics> Picture::Graphics()
{
    if (!graphics_) {
        auto g = std::make_unique<fw::Graphics::Impl>();
        g->surface = impl_->surface;
        g->width = Width();
        g->height = Height();
        graphics_ = Ref<fw::Graphics>(std::make_shared<fw::Graphics>(std::move(g)));
    }
    return graphics_;
}

int32_t Picture::Transparent() const { return impl_->transparent; }
void Picture::Transparent(int32_t mode) { impl_->transparent = mode; }

} // namespace fw
