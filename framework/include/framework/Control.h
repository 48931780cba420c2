#pragma once

#include <framework/Object.h>

#include <cstdint>
#include <memory>
#include <string>

namespace fw {

class Window;

// Base of everything a window holds under a name.
//
// Making a control for a window (each step may look the control up again
// by its name):
//     Ref<Label> label = window->New<Label>();   // or fw::New<Label>()
//     label->Constructor();
//     window->AddControl("AppName", label);
//     SetProperties(window->ControlByName("AppName"), record);
class Control : public Object {
public:
    ~Control() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // Finishes making the control. Everything is made by New already; the
    // call is kept so that the program's creation steps read as they are.
    void Constructor();

    // The name under which the window holds and finds the control.
    std::string Name() const;
    void Name(const std::string& name);
    // The control's place in a control array; the smallest Int32 when it is
    // in none.
    int32_t Index() const;
    void Index(int32_t index);

    // The window that holds the control, or nil.
    Ref<fw::Window> Window() const;

    // The pointer's position, measured from the window's top left corner.
    int32_t MouseX() const;
    int32_t MouseY() const;

    // Raised once when the window that holds the control opens.
    virtual void Event_Open();

    struct Impl;
    Impl& impl() const { return *impl_; }

protected:
    explicit Control(std::unique_ptr<Impl> impl);

private:
    friend class Window;
    std::unique_ptr<Impl> impl_;
};

} // namespace fw
