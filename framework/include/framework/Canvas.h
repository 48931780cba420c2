#pragma once

#include <framework/RectControl.h>

#include <cstdint>

namespace fw {

class Graphics;
class Picture;

// A control that the program draws itself, and that receives the mouse.
// Accepted from records and kept without effect (Object::KeptValue):
// EraseBackground, DoubleBuffer, AcceptTabs, UseFocusRing.
class Canvas : public RectControl {
public:
    Canvas();
    ~Canvas() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // A picture drawn under whatever Paint draws; nil for none.
    Ref<Picture> Backdrop() const;
    void Backdrop(const Ref<Picture>& picture);

    // Whether the control takes the keyboard focus (by a click, and by the
    // Tab key while TabStop).
    bool AcceptFocus() const;
    void AcceptFocus(bool v);

    // Event handlers; positions are relative to the control's top left.
    virtual void Event_Paint(const Ref<Graphics>& g);
    // Answer True to receive MouseDrag and MouseUp for this press.
    virtual bool Event_MouseDown(int32_t x, int32_t y);
    virtual void Event_MouseDrag(int32_t x, int32_t y);
    virtual void Event_MouseUp(int32_t x, int32_t y);
    virtual void Event_GotFocus();
    virtual void Event_LostFocus();

private:
    Ref<Picture> backdrop_;
};

} // namespace fw
