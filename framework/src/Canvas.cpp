#include <framework/Canvas.h>
#include <framework/Picture.h>

#include "CanvasWidget.h"

namespace fw {

Canvas::Canvas()
    : RectControl(detail::MakeImpl(new CanvasWidget(this), false, false))
{
}

Canvas::~Canvas() = default;

const ClassRecord& Canvas::Record()
{
    static const ClassRecord record { "Canvas", &RectControl::Record(),
        { Property<Canvas>("Backdrop", &Canvas::Backdrop), Property<Canvas>("AcceptFocus", &Canvas::AcceptFocus),
            Kept("EraseBackground", PropertyType::Boolean), Kept("DoubleBuffer", PropertyType::Boolean),
            Kept("AcceptTabs", PropertyType::Boolean), Kept("UseFocusRing", PropertyType::Boolean) },
        {},
        { "Paint", "MouseDown", "MouseDrag", "MouseUp", "GotFocus", "LostFocus" } };
    return record;
}

const ClassRecord& Canvas::ClassInfo() const { return Record(); }

Ref<Picture> Canvas::Backdrop() const { return backdrop_; }

void Canvas::Backdrop(const Ref<Picture>& picture)
{
    backdrop_ = picture;
    Refresh(false);
}

bool Canvas::AcceptFocus() const { return impl().acceptFocus; }
void Canvas::AcceptFocus(bool v)
{
    impl().acceptFocus = v;
    detail::UpdateFocus(*this);
}

void Canvas::Event_Paint(const Ref<Graphics>&) {}
bool Canvas::Event_MouseDown(int32_t, int32_t) { return false; }
void Canvas::Event_MouseDrag(int32_t, int32_t) {}
void Canvas::Event_MouseUp(int32_t, int32_t) {}
void Canvas::Event_GotFocus() {}
void Canvas::Event_LostFocus() {}

} // namespace fw
