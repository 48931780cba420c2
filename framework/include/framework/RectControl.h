#pragma once

#include <framework/Control.h>
#include <framework/Event.h>

#include <cstdint>
#include <string>
#include <vector>

namespace fw {

class MouseCursor;

// A control with a position and size in its window.
//
// Left and Top count from the window's top left corner, also for a control
// that lies inside another (InitialParent): the framework places it there.
// A control on a page of a TabPanel is moved, and if need be shrunk, to lie
// wholly inside the page, whose size depends on the desktop's style.
//
// Accepted from records and kept without effect (Object::KeptValue):
// AutoDeactivate, LockLeft, LockTop, LockRight, LockBottom.
class RectControl : public Control {
public:
    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // Left and Top from -32768 to 32767, Width and Height from 0 to 32767;
    // other values raise OutOfBoundsException.
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

    // The control's place in the window's Tab order (lowest first), and
    // whether the Tab key stops at it at all.
    int32_t TabIndex() const;
    void TabIndex(int32_t v);
    bool TabStop() const;
    void TabStop(bool v);

    // The name of the window's control inside which this one lies ("" for
    // the window itself), and the page of that control when it is a
    // TabPanel (1 for the first page, 0 for none). Raises RuntimeException
    // when the window holds no control of that name or it lies inside this
    // one, OutOfBoundsException when the panel has no such page.
    std::string InitialParent() const;
    void InitialParent(const std::string& name);
    int32_t TabPanelIndex() const;
    void TabPanelIndex(int32_t v);

    // The tool tip shown while the pointer rests on the control.
    std::string HelpTag() const;
    void HelpTag(const std::string& text);

    // Asks for a repaint of the whole control, done after the current event.
    void Refresh(bool eraseBackground = true);

    // The cursor shown while the pointer is over the control; nil shows the
    // default one. Over a TextArea's text the text area's own cursor shows.
    Ref<fw::MouseCursor> MouseCursor() const;
    void MouseCursor(const Ref<fw::MouseCursor>& cursor);

    // Raised by a Canvas when the pointer moves onto and off it; the handler
    // receives the control. No other control raises them.
    Event<Ref<RectControl>> MouseEnter;
    Event<Ref<RectControl>> MouseExit;

protected:
    using Control::Control;

    // The text style of controls that show text; a subclass makes them
    // public with `using`. TextFont "System" is the desktop's default font
    // (which falls back to the installed CJK font for Japanese). TextSize 0
    // keeps the font's own size; otherwise the size is in the unit that
    // TextUnit selects, and the one unit known is 0: pixels (the layouts
    // were drawn where a point is a pixel). TextSize outside 0 to 1000 and
    // any other TextUnit raise OutOfBoundsException.
    std::string TextFont() const;
    void TextFont(const std::string& name);
    float TextSize() const;
    void TextSize(float size);
    int32_t TextUnit() const;
    void TextUnit(int32_t unit);
    bool Bold() const;
    void Bold(bool v);
    bool Italic() const;
    void Italic(bool v);
    bool Underline() const;
    void Underline(bool v);
    // A subclass's own properties followed by those of the text style, for
    // the class record of a control that makes the style public.
    static std::vector<PropertyRecord> WithTextStyle(std::vector<PropertyRecord> own);

private:
    Ref<fw::MouseCursor> cursor_;
};

} // namespace fw
