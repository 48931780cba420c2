#include "game/MainWindow.h"

#include "game/Menu.h"
#include "game/WindowRecords.h"

#include <framework/AppleMenuItem.h>
#include <framework/Event.h>
#include <framework/MenuBar.h>
#include <framework/QuitMenuItem.h>
#include <framework/Runtime.h>
#include <framework/SetProperties.h>

#include <vector>

using namespace fw;

namespace {

const char kFieldName[] = "TheGameField";
constexpr int32_t kBackgrounds = 5;

const std::string& MainRecord()
{
    static const std::string record = WindowRecord({ .Placement = 2, .Width = 480, .Height = 300, .Frame = 0,
        .HasBackColor = false, .Title = "ほろみね", .CloseButton = true, .MinimizeButton = true });
    return record;
}

// The field covers the window, takes no focus and is found by its name.
const std::string& FieldRecord()
{
    static const std::string record
        = CanvasRecord({ .Name = kFieldName, .TabIndex = 0, .Left = 0, .Top = 0, .Width = 480, .Height = 300 });
    return record;
}

} // namespace

const ClassRecord& MainWindow::Record()
{
    static const ClassRecord record { "MainWindow.MainWindow", &Window::Record(), {},
        {
            Method("Layout", &MainWindow::Layout),
            Method("CreateControls", &MainWindow::CreateControls),
            Method("CreateControls0", &MainWindow::CreateControls0, Scope::Hidden),
            Method("TheGameField", &MainWindow::TheGameField),
            Method("TheGameField_Created", &MainWindow::TheGameField_Created),
            Method("UntitledMenu0", &MainWindow::UntitledMenu0),
            Method("HelpApp", &MainWindow::HelpApp),
            Method("AppleAbout", &MainWindow::AppleAbout),
            Method("UntitledMenu1", &MainWindow::UntitledMenu1),
            Method("GameMenuSound", &MainWindow::GameMenuSound),
            Method("GameMenuSoundVol", &MainWindow::GameMenuSoundVol),
            Method("UntitledSeparator", &MainWindow::UntitledSeparator),
            Method("GameMenuBackG", &MainWindow::GameMenuBackG),
            Method("GameMenuBack", &MainWindow::GameMenuBack),
            Method("UntitledMenu2", &MainWindow::UntitledMenu2),
            Method("EditClear", &MainWindow::EditClear),
            Method("EditPaste", &MainWindow::EditPaste),
            Method("EditCopy", &MainWindow::EditCopy),
            Method("EditCut", &MainWindow::EditCut),
            Method("UntitledMenu3", &MainWindow::UntitledMenu3),
            Method("EditUndo", &MainWindow::EditUndo),
            Method("UntitledMenu4", &MainWindow::UntitledMenu4),
            Method("FileQuit", &MainWindow::FileQuit),
            Method("UntitledMenu5", &MainWindow::UntitledMenu5),
            Method("FileClose", &MainWindow::FileClose),
            Method("UntitledMenu6", &MainWindow::UntitledMenu6),
            Method("AddMenuHandlers", &MainWindow::AddMenuHandlers),
            Method("Event_EnableMenuItems", &MainWindow::Event_EnableMenuItems),
            Method("Event_CancelClose", &MainWindow::Event_CancelClose),
            Method("GameMenuBack_Action", &MainWindow::GameMenuBack_Action),
        },
        {} };
    return record;
}

const ClassRecord& MainWindow::ClassInfo() const { return Record(); }

Ref<MainWindow> MainWindow::Instance() { return ImplicitInstance<MainWindow>(); }

void MainWindow::Layout()
{
    MenuBar(Menu::Instance());
    SetProperties(Self(this), MainRecord());
}

void MainWindow::CreateControls() { CreateControls0(); }

void MainWindow::CreateControls0()
{
    {
        Ref<GameField> control = New<GameField>();
        control->Constructor();
        AddControl(kFieldName, control);
    }
    SetProperties(Cast<GameField>(ControlByName(kFieldName)), FieldRecord());
    Cast<GameField>(ControlByName(kFieldName))
        ->Created.Attach(BindWeak(Self(this), &MainWindow::TheGameField_Created));
}

Ref<GameField> MainWindow::TheGameField() { return Cast<GameField>(ControlByName(kFieldName)); }

void MainWindow::TheGameField_Created(Ref<GameField> sender) { sender->CreateOffscreen(32, true); }

namespace {
template <class T>
Ref<T> Item(const Ref<fw::MenuBar>& bar, const char* name)
{
    return Cast<T>(bar->Lookup(name));
}
} // namespace

Ref<MenuItem> MainWindow::UntitledMenu0() { return Item<MenuItem>(MenuBar(), "UntitledMenu0"); }
Ref<MenuItem> MainWindow::HelpApp() { return Item<MenuItem>(MenuBar(), "HelpApp"); }
Ref<AppleMenuItem> MainWindow::AppleAbout() { return Item<AppleMenuItem>(MenuBar(), "AppleAbout"); }
Ref<MenuItem> MainWindow::UntitledMenu1() { return Item<MenuItem>(MenuBar(), "UntitledMenu1"); }
Ref<MenuItem> MainWindow::GameMenuSound() { return Item<MenuItem>(MenuBar(), "GameMenuSound"); }
Ref<MenuItem> MainWindow::GameMenuSoundVol(int32_t index) { return MenuBar()->Lookup("GameMenuSoundVol", index); }
Ref<MenuItem> MainWindow::UntitledSeparator() { return Item<MenuItem>(MenuBar(), "UntitledSeparator"); }
Ref<MenuItem> MainWindow::GameMenuBackG() { return Item<MenuItem>(MenuBar(), "GameMenuBackG"); }
Ref<MenuItem> MainWindow::GameMenuBack(int32_t index) { return MenuBar()->Lookup("GameMenuBack", index); }
Ref<MenuItem> MainWindow::UntitledMenu2() { return Item<MenuItem>(MenuBar(), "UntitledMenu2"); }
Ref<MenuItem> MainWindow::EditClear() { return Item<MenuItem>(MenuBar(), "EditClear"); }
Ref<MenuItem> MainWindow::EditPaste() { return Item<MenuItem>(MenuBar(), "EditPaste"); }
Ref<MenuItem> MainWindow::EditCopy() { return Item<MenuItem>(MenuBar(), "EditCopy"); }
Ref<MenuItem> MainWindow::EditCut() { return Item<MenuItem>(MenuBar(), "EditCut"); }
Ref<MenuItem> MainWindow::UntitledMenu3() { return Item<MenuItem>(MenuBar(), "UntitledMenu3"); }
Ref<MenuItem> MainWindow::EditUndo() { return Item<MenuItem>(MenuBar(), "EditUndo"); }
Ref<MenuItem> MainWindow::UntitledMenu4() { return Item<MenuItem>(MenuBar(), "UntitledMenu4"); }
Ref<QuitMenuItem> MainWindow::FileQuit() { return Item<QuitMenuItem>(MenuBar(), "FileQuit"); }
Ref<MenuItem> MainWindow::UntitledMenu5() { return Item<MenuItem>(MenuBar(), "UntitledMenu5"); }
Ref<MenuItem> MainWindow::FileClose() { return Item<MenuItem>(MenuBar(), "FileClose"); }
// The bar holds no item of this name.
Ref<MenuItem> MainWindow::UntitledMenu6() { return Item<MenuItem>(MenuBar(), "UntitledMenu6"); }

void MainWindow::AddMenuHandlers(const Ref<Window>& target)
{
    Ref<MainWindow> window = Cast<MainWindow>(target);
    AddMenuHandler("GameMenuBack", BindMenuHandler(window, &MainWindow::GameMenuBack_Action));
}

void MainWindow::Event_EnableMenuItems()
{
    for (int32_t i = 0; i < kBackgrounds; ++i) {
        const int32_t current = TheGameField()->RefBack();
        if (i == current) {
            // Enabled by the menu rule, since this window handles the items.
            GameMenuBack(i)->Checked(true);
        } else {
            GameMenuBack(i)->Checked(false);
            GameMenuBack(i)->Enable();
        }
        YieldToBackground();
    }
}

bool MainWindow::Event_CancelClose(bool quitting)
{
    if (quitting || WindowCount() < 2)
        return false;
    // Closing a window moves the others up the list: take the list first,
    // so that each other window is asked exactly once.
    std::vector<Ref<Window>> open;
    for (int32_t i = 0; i < WindowCount(); ++i) {
        open.push_back(WindowAt(i));
        YieldToBackground();
    }
    for (const Ref<Window>& w : open) {
        if (w.Get() != this)
            w->Close();
        YieldToBackground();
    }
    return false;
}

bool MainWindow::GameMenuBack_Action(int32_t index)
{
    TheGameField()->SetBack(index);
    return true;
}
