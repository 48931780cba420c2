#include "ControlImpl.h"
#include "WindowImpl.h"

#include <QCursor>

namespace fw {

Control::Control(std::unique_ptr<Impl> impl)
    : impl_(std::move(impl))
{
}

Control::~Control()
{
    if (QWidget* w = impl_->widget.data()) {
        if (auto* link = dynamic_cast<ControlLink*>(w))
            link->control = nullptr;
        w->hide();
        w->deleteLater(); // we may be inside one of its own events
    }
}

const ClassRecord& Control::Record()
{
    static const ClassRecord record { "Control", &Object::Record(),
        { Property<Control>("Name", &Control::Name), Property<Control>("Index", &Control::Index) },
        { Method("Constructor", &Control::Constructor), Method("Window", &Control::Window),
            Method("MouseX", &Control::MouseX), Method("MouseY", &Control::MouseY) },
        { "Open" } };
    return record;
}

const ClassRecord& Control::ClassInfo() const { return Record(); }

void Control::Constructor() {}

std::string Control::Name() const { return impl_->name; }
void Control::Name(const std::string& name) { impl_->name = name; }
int32_t Control::Index() const { return impl_->index; }
void Control::Index(int32_t index) { impl_->index = index; }

Ref<fw::Window> Control::Window() const { return impl_->window.Lock(); }

int32_t Control::MouseX() const
{
    Ref<fw::Window> w = Window();
    if (!w)
        return 0;
    return w->impl().client->mapFromGlobal(QCursor::pos()).x();
}

int32_t Control::MouseY() const
{
    Ref<fw::Window> w = Window();
    if (!w)
        return 0;
    return w->impl().client->mapFromGlobal(QCursor::pos()).y();
}

void Control::Event_Open() {}

} // namespace fw
