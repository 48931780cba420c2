#pragma once

#include <framework/Control.h>
#include <framework/Event.h>

#include <cstdint>

namespace fw {

class MouseCursor;

// A control with a position and size in its window.
class RectControl : public Control {
public:
    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    int32_t Left() const;
    void Left(int32_t v);
    int32_t Top() const;
    void Top(int32_t v);
    int32_t Width() const;
    void Width(int32_t v);
    int32_t Height() const;
    void Height(int32_t v);
    bool Visible() const;
    void Visible(bool v);
    bool Enabled() const;
    void Enabled(bool v);

    // Asks for a repaint of the whole control, done after the current event.
    void Refresh(bool eraseBackground = true);

    // The cursor shown while the pointer is over the control; nil shows the
    // default one.
    Ref<fw::MouseCursor> MouseCursor() const;
    void MouseCursor(const Ref<fw::MouseCursor>& cursor);

    // Raised when the pointer moves onto and off the control; the handler
    // receives the control.
    Event<Ref<RectControl>> MouseEnter;
    Event<Ref<RectControl>> MouseExit;

protected:
    using Control::Control;

private:
    Ref<fw::MouseCursor> cursor_;
};

} // namespace fw
