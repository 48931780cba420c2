#pragma once

#include "PictureImpl.h"

#include <framework/Graphics.h>

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <map>
#include <memory>
#include <optional>

namespace fw {

struct Graphics::Impl {
    // Exactly one target: a picture's surface, or a painter that is valid
    // while a control paints.
    std::shared_ptr<Surface> surface;
    QPainter* painter = nullptr;
    int32_t width = 0;
    int32_t height = 0;

    QColor fore { Qt::black };
    bool oldRenderer = false;
    QFont font;

    Impl();
    ~Impl();
    // Runs one drawing operation on the target with the current settings.
    template <class F>
    void Paint(F&& draw)
    {
        if (painter) {
            painter->save();
            Setup(*painter);
            draw(*painter);
            painter->restore();
        } else if (surface && !surface->image.isNull()) {
            // The surface's painter keeps what it was set up with until it
            // is ended or a setting changes; no operation alters its state.
            QPainter& p = surface->Painter();
            if (setUpRun_ != surface->painterRuns) {
                Setup(p);
                setUpRun_ = surface->painterRuns;
            }
            draw(p);
            ++surface->generation;
        }
    }
    void Setup(QPainter& p) const;
    const QFont& EffectiveFont() const;
    const QFontMetricsF& Metrics();
    // The text on one line in the current font. Shaping a text costs more
    // than drawing it, so the layout is kept for the next StringWidth or
    // DrawString of the same text until the font changes. Nil for a text
    // that would not lie on one line as drawText lays it.
    const QTextLayout* LaidOut(const QString& s);
    // After a change of colour; after a change of renderer or font.
    void SettingsChanged();
    void FontChanged();

private:
    uint64_t setUpRun_ = 0; // the surface's painter run set up with these settings
    mutable std::optional<QFont> effective_;
    std::optional<QFontMetricsF> metrics_;
    std::map<QString, std::unique_ptr<QTextLayout>> layouts_; // nil: laid out by drawText
};

// A Graphics that draws through a painter for the length of one paint; the
// caller detaches it (painter = nullptr) when the paint ends.
Ref<Graphics> MakePainterGraphics(QPainter* painter, int32_t width, int32_t height);

} // namespace fw
