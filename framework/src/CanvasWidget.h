#pragma once

#include "ControlImpl.h"

#include <framework/Canvas.h>

#include <QWidget>

namespace fw {

// The toolkit side of a Canvas: hands paint, mouse and focus events to it.
class CanvasWidget : public QWidget, public ControlLink {
public:
    explicit CanvasWidget(Canvas* canvas);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    Canvas* canvas() const { return static_cast<Canvas*>(control); }
    bool tracking_ = false; // MouseDown answered True: send drags and the release
};

} // namespace fw
