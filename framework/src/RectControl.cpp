#include <framework/RectControl.h>

#include <framework/MouseCursor.h>

#include "ControlImpl.h"
#include "MouseCursorImpl.h"

namespace fw {

const ClassRecord& RectControl::Record()
{
    static const ClassRecord record { "RectControl", &Control::Record(),
        { Property<RectControl>("Left", &RectControl::Left), Property<RectControl>("Top", &RectControl::Top),
            Property<RectControl>("Width", &RectControl::Width),
            Property<RectControl>("Height", &RectControl::Height),
            Property<RectControl>("Visible", &RectControl::Visible),
            Property<RectControl>("Enabled", &RectControl::Enabled),
            Property<RectControl>("MouseCursor", &RectControl::MouseCursor) },
        { Method("Refresh", &RectControl::Refresh) }, { "MouseEnter", "MouseExit" } };
    return record;
}

const ClassRecord& RectControl::ClassInfo() const { return Record(); }

namespace {
void Place(Control::Impl& c)
{
    if (c.widget)
        c.widget->setGeometry(c.left, c.top, c.width, c.height);
}
} // namespace

int32_t RectControl::Left() const { return impl().left; }
void RectControl::Left(int32_t v) { impl().left = v; Place(impl()); }
int32_t RectControl::Top() const { return impl().top; }
void RectControl::Top(int32_t v) { impl().top = v; Place(impl()); }
int32_t RectControl::Width() const { return impl().width; }
void RectControl::Width(int32_t v) { impl().width = v; Place(impl()); }
int32_t RectControl::Height() const { return impl().height; }
void RectControl::Height(int32_t v) { impl().height = v; Place(impl()); }

bool RectControl::Visible() const { return impl().visible; }
void RectControl::Visible(bool v)
{
    impl().visible = v;
    if (impl().widget)
        impl().widget->setVisible(v);
}

bool RectControl::Enabled() const { return impl().enabled; }
void RectControl::Enabled(bool v)
{
    impl().enabled = v;
    if (impl().widget)
        impl().widget->setEnabled(v);
}

void RectControl::Refresh(bool eraseBackground)
{
    (void)eraseBackground; // the toolkit always repaints whole
    if (impl().widget)
        impl().widget->update();
}

Ref<fw::MouseCursor> RectControl::MouseCursor() const { return cursor_; }

void RectControl::MouseCursor(const Ref<fw::MouseCursor>& cursor)
{
    cursor_ = cursor;
    if (QWidget* w = impl().widget.data()) {
        if (cursor_)
            w->setCursor(ToQCursor(*cursor_));
        else
            w->unsetCursor();
    }
}

} // namespace fw
