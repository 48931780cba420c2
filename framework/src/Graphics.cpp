#include "GraphicsImpl.h"

#include <QGuiApplication>
#include <QRectF>

#include <limits>

namespace fw {

namespace {
// The system font of the program's windows: 12 pixels.
constexpr int kSystemFontPixels = 12;
// Laid-out texts kept per Graphics before they are all let go.
constexpr size_t kKeptLayouts = 64;
} // namespace

Graphics::Impl::Impl()
{
    font.setPixelSize(kSystemFontPixels);
}

Graphics::Impl::~Impl()
{
    if (surface)
        surface->painter.reset();
}

void Graphics::Impl::SettingsChanged() { setUpRun_ = 0; }

void Graphics::Impl::FontChanged()
{
    setUpRun_ = 0;
    effective_.reset();
    metrics_.reset();
    layouts_.clear();
}

const QTextLayout* Graphics::Impl::LaidOut(const QString& s)
{
    if (layouts_.size() >= kKeptLayouts && !layouts_.count(s))
        layouts_.clear();
    auto [slot, fresh] = layouts_.try_emplace(s);
    if (!fresh)
        return slot->second.get();
    // U+009C ends the text for the toolkit's width; separators break the line.
    if (s.contains(QChar(0x9C)))
        return nullptr;
    auto l = std::make_unique<QTextLayout>(s, EffectiveFont());
    l->setCacheEnabled(true);
    QTextOption o(Qt::AlignLeft | Qt::AlignAbsolute);
    o.setWrapMode(QTextOption::NoWrap);
    // As the toolkit's width and a painter on a picture take it: from the text.
    o.setTextDirection(Qt::LayoutDirectionAuto);
    l->setTextOption(o);
    l->beginLayout();
    QTextLine line = l->createLine();
    line.setLineWidth(std::numeric_limits<int>::max());
    l->endLayout();
    if (l->lineCount() == 1 && line.textLength() == s.size())
        slot->second = std::move(l);
    return slot->second.get();
}

const QFontMetricsF& Graphics::Impl::Metrics()
{
    if (!metrics_)
        metrics_.emplace(EffectiveFont());
    return *metrics_;
}

const QFont& Graphics::Impl::EffectiveFont() const
{
    // One font object, so that the toolkit looks its glyphs up once.
    if (!effective_) {
        effective_ = font;
        effective_->setStyleStrategy(oldRenderer ? QFont::NoAntialias : QFont::PreferDefault);
    }
    return *effective_;
}

void Graphics::Impl::Setup(QPainter& p) const
{
    p.setRenderHint(QPainter::Antialiasing, !oldRenderer);
    p.setRenderHint(QPainter::TextAntialiasing, !oldRenderer);
    p.setRenderHint(QPainter::SmoothPixmapTransform, !oldRenderer);
    p.setPen(QPen(fore, 0));
    p.setBrush(Qt::NoBrush);
    p.setFont(EffectiveFont());
}

Ref<Graphics> MakePainterGraphics(QPainter* painter, int32_t width, int32_t height)
{
    auto impl = std::make_unique<Graphics::Impl>();
    impl->painter = painter;
    impl->width = width;
    impl->height = height;
    return Ref<Graphics>(std::make_shared<Graphics>(std::move(impl)));
}

Graphics::Graphics(std::unique_ptr<Impl> impl)
    : impl_(std::move(impl))
{
}

Graphics::~Graphics() = default;

const ClassRecord& Graphics::Record()
{
    static const ClassRecord record { "Graphics", &Object::Record(),
        { GetterProperty("ForeColor", &Graphics::ForeColor),
            GetterProperty("UseOldRenderer", &Graphics::UseOldRenderer),
            GetterProperty("TextFont", &Graphics::TextFont), GetterProperty("TextSize", &Graphics::TextSize),
            GetterProperty("Bold", &Graphics::Bold) },
        { Method<void(const Ref<Picture>&, int32_t, int32_t)>("DrawPicture", &Graphics::DrawPicture),
            Method<void(const Ref<Picture>&, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t)>(
                "DrawPicture", &Graphics::DrawPicture),
            Method("FillRect", &Graphics::FillRect), Method("DrawLine", &Graphics::DrawLine),
            Method("DrawString", &Graphics::DrawString), Method("StringWidth", &Graphics::StringWidth) },
        {} };
    return record;
}

const ClassRecord& Graphics::ClassInfo() const { return Record(); }

int32_t Graphics::Width() const { return impl_->width; }
int32_t Graphics::Height() const { return impl_->height; }

Color Graphics::ForeColor() const { return RGB(impl_->fore.red(), impl_->fore.green(), impl_->fore.blue()); }
void Graphics::ForeColor(Color c)
{
    impl_->fore = QColor(c.Red(), c.Green(), c.Blue());
    impl_->SettingsChanged();
}

bool Graphics::UseOldRenderer() const { return impl_->oldRenderer; }
void Graphics::UseOldRenderer(bool on)
{
    impl_->oldRenderer = on;
    impl_->FontChanged();
}

std::string Graphics::TextFont() const
{
    // "System" (or nothing) is the default user-interface font.
    return impl_->font.family().toStdString();
}

void Graphics::TextFont(const std::string& family)
{
    if (family.empty() || family == "System")
        impl_->font.setFamily(QGuiApplication::font().family());
    else
        impl_->font.setFamily(QString::fromStdString(family));
    impl_->FontChanged();
}

double Graphics::TextSize() const { return impl_->font.pixelSize(); }

void Graphics::TextSize(double points)
{
    // 0 means the system size; the program's sizes are in pixels at 72 dpi.
    int px = points > 0 ? static_cast<int>(points + 0.5) : kSystemFontPixels;
    impl_->font.setPixelSize(px);
    impl_->FontChanged();
}

bool Graphics::Bold() const { return impl_->font.bold(); }
void Graphics::Bold(bool on)
{
    impl_->font.setBold(on);
    impl_->FontChanged();
}

void Graphics::DrawPicture(const Ref<Picture>& picture, int32_t x, int32_t y)
{
    if (!picture)
        return;
    const QImage& src = picture->impl().Drawable();
    impl_->Paint([&](QPainter& p) { p.drawImage(QPoint(x, y), src); });
}

void Graphics::DrawPicture(const Ref<Picture>& picture, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx,
    int32_t sy, int32_t sw, int32_t sh)
{
    if (!picture || w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return;
    const QImage& src = picture->impl().Drawable();
    impl_->Paint([&](QPainter& p) { p.drawImage(QRect(x, y, w, h), src, QRect(sx, sy, sw, sh)); });
}

void Graphics::FillRect(int32_t x, int32_t y, int32_t w, int32_t h)
{
    if (w <= 0 || h <= 0)
        return;
    QColor c = impl_->fore;
    impl_->Paint([&](QPainter& p) { p.fillRect(QRect(x, y, w, h), c); });
}

void Graphics::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    impl_->Paint([&](QPainter& p) { p.drawLine(QPoint(x1, y1), QPoint(x2, y2)); });
}

void Graphics::DrawString(const std::string& text, double x, double y, double wrapWidth, bool condense)
{
    (void)condense; // the toolkit shapes text itself; nothing to squeeze
    QString s = QString::fromStdString(text);
    const QTextLayout* laid = wrapWidth > 0 ? nullptr : impl_->LaidOut(s);
    impl_->Paint([&](QPainter& p) {
        if (wrapWidth > 0) {
            QFontMetricsF m(p.font());
            QRectF box(x, y - m.ascent(), wrapWidth, 1e6);
            p.drawText(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, s);
        } else if (laid && p.font() == laid->font()
            && p.layoutDirection() == laid->textOption().textDirection()) {
            // The same glyphs where drawText puts them, baseline at y,
            // without shaping the text again.
            laid->draw(&p, QPointF(x, y - laid->lineAt(0).ascent()));
        } else {
            p.drawText(QPointF(x, y), s);
        }
    });
}

double Graphics::StringWidth(const std::string& text) const
{
    QString s = QString::fromStdString(text);
    if (const QTextLayout* laid = impl_->LaidOut(s))
        return laid->lineAt(0).horizontalAdvance();
    return impl_->Metrics().horizontalAdvance(s);
}

} // namespace fw

namespace fw {

Color Graphics::Pixel(int32_t x, int32_t y) const
{
    if (!impl_->surface)
        return Color {};
    const QImage& image = impl_->surface->Pixels();
    if (!image.valid(x, y))
        return Color {};
    QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

} // namespace fw
