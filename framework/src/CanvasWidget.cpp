#include "CanvasWidget.h"
#include "GraphicsImpl.h"

#include <framework/Dispatch.h>
#include <framework/Graphics.h>

#include <QMouseEvent>
#include <QPainter>

namespace fw {

CanvasWidget::CanvasWidget(Canvas* canvas)
{
    control = canvas;
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void CanvasWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Canvas* c = canvas();
    if (!c)
        return;
    auto keep = KeepAlive(c);
    Ref<Graphics> g = MakePainterGraphics(&painter, width(), height());
    Dispatch([&] {
        if (Ref<Picture> backdrop = c->Backdrop())
            g->DrawPicture(backdrop, 0, 0);
        c->Event_Paint(g);
    });
    // The Graphics may outlive the paint in program code; it draws nowhere
    // from here on.
    g->impl().painter = nullptr;
}

void CanvasWidget::mousePressEvent(QMouseEvent* e)
{
    Canvas* c = canvas();
    if (!c)
        return;
    auto keep = KeepAlive(c);
    QPoint p = e->position().toPoint();
    bool handled = false;
    Dispatch([&] { handled = c->Event_MouseDown(p.x(), p.y()); });
    tracking_ = handled;
    // A press the canvas does not take goes on to the window.
    if (!handled)
        e->ignore();
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* e)
{
    Canvas* c = canvas();
    if (!c || !tracking_)
        return;
    auto keep = KeepAlive(c);
    QPoint p = e->position().toPoint();
    Dispatch([&] { c->Event_MouseDrag(p.x(), p.y()); });
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* e)
{
    Canvas* c = canvas();
    if (!c || !tracking_)
        return;
    tracking_ = false;
    auto keep = KeepAlive(c);
    QPoint p = e->position().toPoint();
    Dispatch([&] { c->Event_MouseUp(p.x(), p.y()); });
}

void CanvasWidget::enterEvent(QEnterEvent*)
{
    Canvas* c = canvas();
    if (!c)
        return;
    auto keep = KeepAlive(c);
    Dispatch([&] { c->MouseEnter.Raise(Ref<RectControl>(std::static_pointer_cast<RectControl>(keep))); });
}

void CanvasWidget::leaveEvent(QEvent*)
{
    Canvas* c = canvas();
    if (!c)
        return;
    auto keep = KeepAlive(c);
    Dispatch([&] { c->MouseExit.Raise(Ref<RectControl>(std::static_pointer_cast<RectControl>(keep))); });
}

void CanvasWidget::focusInEvent(QFocusEvent*)
{
    if (Canvas* c = canvas()) {
        auto keep = KeepAlive(c);
        Dispatch([&] { c->Event_GotFocus(); });
    }
}

void CanvasWidget::focusOutEvent(QFocusEvent*)
{
    if (Canvas* c = canvas()) {
        auto keep = KeepAlive(c);
        Dispatch([&] { c->Event_LostFocus(); });
    }
}

} // namespace fw
