#include "game/AboutWindow.h"

#include "game/PictureResources.h"
#include "game/WindowRecords.h"
#include "offscreen/TargetSystemDisplay.h"

#include <framework/Canvas.h>
#include <framework/Label.h>
#include <framework/RecordWriter.h>
#include <framework/SetProperties.h>

#include <climits>
#include <map>

using namespace fw;

namespace {

const std::string& AboutRecord()
{
    static const std::string record = WindowRecord({ .Placement = 1, .Width = 200, .Height = 80, .Frame = 2,
        .HasBackColor = true, .Title = "ほろみねについて", .CloseButton = false, .MinimizeButton = false });
    return record;
}

// The two labels differ only in their text, place, width and order.
struct LabelValues {
    std::string Name;
    std::string Text;
    int32_t TabIndex = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
};

std::string LabelRecord(const LabelValues& v)
{
    return RecordWriter(RecordKind::Label)
        .Set("InitialParent", "")
        .Set("DataField", "")
        .Set("DataSource", "")
        .Set("Underline", false)
        .Set("Italic", false)
        .Set("Bold", false)
        .Set("TextFont", "System")
        .Set("AutoDeactivate", true)
        .Set("HelpTag", "")
        .Set("Transparent", false)
        .Set("Selectable", false)
        .Set("Visible", true)
        .Set("Enabled", true)
        .Set("Multiline", false)
        .Set("TextColor", RGB(0, 0, 0))
        .Set("TextAlign", 0)
        .Set("Text", v.Text)
        .Set("TabIndex", v.TabIndex)
        .Set("TabPanelIndex", 0)
        .Set("LockBottom", false)
        .Set("LockRight", false)
        .Set("LockTop", false)
        .Set("LockLeft", false)
        .Set("Height", 16)
        .Set("Width", v.Width)
        .Set("Top", v.Top)
        .Set("Left", v.Left)
        .Set("Index", INT32_MIN)
        .Set("Name", v.Name)
        .Set("TabStop", true)
        .Bytes();
}

const std::map<std::string, std::string>& Records()
{
    static const std::map<std::string, std::string> records {
        { "", AboutRecord() },
        { "AppName",
            LabelRecord({ .Name = "AppName", .Text = "ほろみね 10.1.1", .TabIndex = 0, .Left = 64, .Top = 24,
                .Width = 100 }) },
        { "AppCopy",
            LabelRecord({ .Name = "AppCopy", .Text = "© 2018 ほろみね開発チーム", .TabIndex = 1, .Left = 16,
                .Top = 56, .Width = 180 }) },
        { "AppIcon",
            CanvasRecord({ .Name = "AppIcon", .TabIndex = 2, .Left = 16, .Top = 16, .Width = 32, .Height = 32 }) },
        { "TheTargetSystemDisplay",
            CanvasRecord({ .Name = "TheTargetSystemDisplay", .TabIndex = 3, .Left = 180, .Top = 3, .Width = 16,
                .Height = 8 }) },
    };
    return records;
}

} // namespace

const ClassRecord& AboutWindow::Record()
{
    static const ClassRecord record { "AboutWindow.AboutWindow", &Window::Record(), {},
        {
            Method("Layout", &AboutWindow::Layout),
            Method("CreateControls", &AboutWindow::CreateControls),
            Method("CreateControls0", &AboutWindow::CreateControls0, Scope::Hidden),
            Method("AppName", &AboutWindow::AppName),
            Method("AppCopy", &AboutWindow::AppCopy),
            Method("AppIcon", &AboutWindow::AppIcon),
            Method("TheTargetSystemDisplay", &AboutWindow::TheTargetSystemDisplay),
            Method("AppIcon_MouseExit", &AboutWindow::AppIcon_MouseExit),
            Method("AppIcon_MouseEnter", &AboutWindow::AppIcon_MouseEnter),
            Method("Event_KeyDown", &AboutWindow::Event_KeyDown),
            Method("Event_MouseDown", &AboutWindow::Event_MouseDown),
        },
        {} };
    return record;
}

const ClassRecord& AboutWindow::ClassInfo() const { return Record(); }

Ref<AboutWindow> AboutWindow::Instance() { return ImplicitInstance<AboutWindow>(); }

const std::string& AboutWindow::PropertyRecordOf(const std::string& name) { return Records().at(name); }

void AboutWindow::Layout() { SetProperties(Self(this), AboutRecord()); }

void AboutWindow::CreateControls() { CreateControls0(); }

void AboutWindow::CreateControls0()
{
    for (const char* name : { "AppName", "AppCopy" }) {
        {
            Ref<Label> label = New<Label>();
            label->Constructor();
            AddControl(name, label);
        }
        Cast<Label>(ControlByName(name))->TextUnit(0);
        Cast<Label>(ControlByName(name))->TextSize(12.0f);
        SetProperties(ControlByName(name), Records().at(name));
    }

    {
        Ref<Canvas> icon = New<Canvas>();
        icon->Constructor();
        AddControl("AppIcon", icon);
    }
    AppIcon()->Backdrop(IconPict());
    SetProperties(AppIcon(), Records().at("AppIcon"));
    AppIcon()->MouseExit.Attach(BindWeak(Self(this), &AboutWindow::AppIcon_MouseExit));
    AppIcon()->MouseEnter.Attach(BindWeak(Self(this), &AboutWindow::AppIcon_MouseEnter));

    {
        Ref<TargetSystemDisplay> badge = New<TargetSystemDisplay>();
        badge->Constructor();
        AddControl("TheTargetSystemDisplay", badge);
    }
    SetProperties(TheTargetSystemDisplay(), Records().at("TheTargetSystemDisplay"));
}

Ref<Label> AboutWindow::AppName() { return Cast<Label>(ControlByName("AppName")); }
Ref<Label> AboutWindow::AppCopy() { return Cast<Label>(ControlByName("AppCopy")); }
Ref<Canvas> AboutWindow::AppIcon() { return Cast<Canvas>(ControlByName("AppIcon")); }
Ref<TargetSystemDisplay> AboutWindow::TheTargetSystemDisplay()
{
    return Cast<TargetSystemDisplay>(ControlByName("TheTargetSystemDisplay"));
}

void AboutWindow::AppIcon_MouseExit(const Ref<Canvas>& sender) { sender->Backdrop(IconPict()); }
void AboutWindow::AppIcon_MouseEnter(const Ref<Canvas>& sender) { sender->Backdrop(TamberlynPict()); }

bool AboutWindow::Event_KeyDown(const std::string&)
{
    Close();
    return false;
}

bool AboutWindow::Event_MouseDown(int32_t, int32_t)
{
    Close();
    return false;
}
