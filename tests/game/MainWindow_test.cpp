#include "common/ToolkitDriver.h"

#include <game/Appl.h>
#include <game/MainWindow.h>
#include <game/Menu.h>
#include <prefs/ApplPreferences.h>

#include <framework/MenuItem.h>

#include <QMainWindow>

#include <gtest/gtest.h>

using namespace fw;

namespace {

struct ClosingAppl : Appl {
    bool closed = false;
    void Event_Close() override { closed = true, Appl::Event_Close(); }
};

// Start-up as the program does it, on settings holding `settings`.
Ref<MainWindow> Start(const std::string& settings)
{
    auto prefs = New<ApplPreferences>("ほろみねの設定", "HRMN");
    prefs->SetData(settings);
    prefs->Save();
    auto app = New<ClosingAppl>();
    app->MenuBar(Menu::Instance());
    RuntimeRegisterAppObject(app);
    return MainWindow::Instance();
}

// Opens the background menu as the player does, so that the menu rule runs:
// each item as checked "c" and enabled "e".
std::vector<std::string> BackItems(const Ref<MainWindow>& w)
{
    test::OpenSubmenu(test::OpenMenu("ほろみね", "ゲーム"), "背景");
    std::vector<std::string> items;
    for (int32_t i = 0; i < 5; ++i)
        items.push_back(std::string(w->GameMenuBack(i)->Checked() ? "c" : "") + (w->GameMenuBack(i)->Enabled() ? "e" : ""));
    test::CloseMenus();
    return items;
}

} // namespace

TEST(MainWindow, FixedSizeWithTheFieldAndOneInstance)
{
    auto w = Start("11");
    test::ExpectFixedWindow(test::TopLevel("ほろみね"), QSize(480, 300),
        Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(w->TheGameField()->RefOffscreenAvail() && w->TheGameField()->Width() == 480);
    EXPECT_TRUE(MainWindow::Instance() == w && !w->UntitledMenu6());
}

TEST(MainWindow, BackgroundItemsCheckedAndChosen)
{
    auto w = Start("13");
    EXPECT_EQ(BackItems(w), std::vector<std::string>({ "e", "e", "e", "ce", "e" }));
    test::Press("ほろみね", "Ctrl+1");
    EXPECT_TRUE(w->TheGameField()->RefBack() == 1 && App()->ItsPrefs->GetData() == "11");
    w->TheGameField()->SetBack(7);
    EXPECT_EQ(BackItems(w), std::vector<std::string>(5, "e"));
}

TEST(MainWindow, ClosingClosesTheOthersFirstAndQuits)
{
    auto w = Start("11");
    struct Other : Window {
        std::vector<bool>* mainOpen;
        void Event_Close() override { mainOpen->push_back(GetImplicitWindow("MainWindow.MainWindow") != nullptr); }
    };
    std::vector<bool> mainOpen;
    for (int i = 0; i < 3; ++i) {
        auto other = New<Other>();
        other->mainOpen = &mainOpen;
        other->Constructor();
    }
    EXPECT_TRUE(!w->Event_CancelClose(true) && WindowCount() == 4) << "nothing closed while quitting";
    test::TopLevel("ほろみね")->close();
    EXPECT_TRUE(mainOpen == std::vector<bool>(3, true) && WindowCount() == 0 && Cast<ClosingAppl>(App())->closed);
}
