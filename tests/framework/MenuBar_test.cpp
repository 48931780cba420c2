#include <framework/Dispatch.h>
#include <framework/FolderItem.h>
#include <framework/MenuBar.h>
#include <framework/QuitMenuItem.h>
#include <framework/Runtime.h>
#include <framework/Window.h>

#include "common/MediaFiles.h"
#include "common/TestSupport.h"
#include "common/ToolkitDriver.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace fw;

namespace {

Ref<MenuItem> Node(Ref<MenuItem> m, const std::string& name, const std::string& text, bool autoEnable = true,
    const std::string& keys = "", int32_t index = INT_MIN)
{
    m->Name(name);
    m->AutoEnable(autoEnable);
    if (index != INT_MIN)
        m->Index(index);
    m->Text(text);
    m->KeyboardShortcut(keys);
    return m;
}

Ref<MenuItem> Item(const std::string& name, const std::string& text, bool autoEnable = true,
    const std::string& keys = "", int32_t index = INT_MIN)
{
    return Node(New<MenuItem>(), name, text, autoEnable, keys, index);
}

// File: Close (Cmd+W), -, Quit (Cmd+Q)
// Game: Background > plain (Cmd+0), spiral (Cmd+1); -; Sound > loud, mute
Ref<MenuBar> SampleBar()
{
    auto bar = New<MenuBar>();
    bar->Append(Item("FileMenu", "File"));
    bar->Child("FileMenu")->Append(Item("FileClose", "Close", false, "Cmd+W"));
    bar->Child("FileMenu")->Append(Item("FileSep", "-"));
    bar->Child("FileMenu")->Append(Node(New<QuitMenuItem>(), "FileQuit", "Quit", true, "Cmd+Q"));
    bar->Append(Item("GameMenu", "Game"));
    bar->Child("GameMenu")->Append(Item("Back", "Background"));
    bar->Child("GameMenu")->Child("Back")->Append(Item("GameBack", "plain", false, "Cmd+0", 0));
    bar->Child("GameMenu")->Child("Back")->Append(Item("GameBack", "spiral", false, "Cmd+1", 1));
    bar->Child("GameMenu")->Append(Item("GameSep", "-"));
    bar->Child("GameMenu")->Append(Item("Sound", "Sound"));
    bar->Child("GameMenu")->Child("Sound")->Append(Item("Vol", "loud", false, "", 0));
    bar->Child("GameMenu")->Child("Sound")->Append(Item("Vol", "mute", false, "", 1));
    return bar;
}

// A window that shows a bar, may register a background handler and
// records what reaches it.
class Probe : public Window {
public:
    Probe(std::string title, Ref<fw::MenuBar> bar, bool backHandler)
        : title_(std::move(title)), bar_(std::move(bar)), backHandler_(backHandler)
    {
    }
    std::vector<std::string> log;
    std::function<void(Probe&)> onEnable;
    bool cancelQuit = false;

    void Layout() override
    {
        Title(title_);
        Width(200);
        Height(100);
        MenuBar(bar_);
    }
    void AddMenuHandlers(const Ref<Window>& target) override
    {
        if (backHandler_)
            target->AddMenuHandler("GameBack", BindMenuHandler(Cast<Probe>(target), &Probe::Back));
    }
    bool Back(int32_t index)
    {
        log.push_back("Back " + std::to_string(index));
        return true;
    }
    void Event_EnableMenuItems() override
    {
        log.push_back("EnableMenuItems");
        if (onEnable)
            onEnable(*this);
    }
    bool Event_CancelClose(bool quitting) override
    {
        log.push_back(quitting ? "CancelClose quitting" : "CancelClose");
        return cancelQuit && quitting;
    }

private:
    std::string title_;
    Ref<fw::MenuBar> bar_;
    bool backHandler_;
};

Ref<Probe> Open(const std::string& title, const Ref<MenuBar>& bar, bool backHandler)
{
    auto w = New<Probe>(title, bar, backHandler);
    w->Constructor();
    return w;
}

} // namespace

TEST(MenuBarView, ShowsTitlesSeparatorsSubmenusAndShortcuts)
{
    Ref<MenuBar> bar = SampleBar();
    bar->Child("FileMenu")->Append(Item("Amp", "A&B"));
    Ref<Probe> w = Open("view", bar, false);
    QMenuBar* qbar = test::MenuBarOf("view");
    ASSERT_NE(qbar, nullptr);
    ASSERT_EQ(qbar->actions().size(), 2);
    EXPECT_EQ(qbar->actions()[0]->text(), "File");
    EXPECT_EQ(qbar->actions()[1]->text(), "Game");

    QList<QAction*> file = test::MenuOf(qbar, "File")->actions();
    ASSERT_EQ(file.size(), 4);
    EXPECT_EQ(file[0]->text(), "Close\tCtrl+W"); // Cmd maps to the Control key
    EXPECT_TRUE(file[1]->isSeparator());
    EXPECT_EQ(file[2]->text(), "Quit\tCtrl+Q");
    EXPECT_EQ(file[3]->text(), "A&&B"); // shown as written, not as a mnemonic

    QList<QAction*> game = test::MenuOf(qbar, "Game")->actions();
    ASSERT_EQ(game.size(), 3);
    ASSERT_NE(game[0]->menu(), nullptr);
    EXPECT_EQ(game[0]->text(), "Background");
    EXPECT_TRUE(game[1]->isSeparator());
    ASSERT_NE(game[2]->menu(), nullptr);
    EXPECT_EQ(game[0]->menu()->actions()[1]->text(), "spiral\tCtrl+1");
    EXPECT_EQ(game[2]->menu()->actions()[1]->text(), "mute");
}

// The bar's extension button, shown only when its menus do not fit, reads
// its icon when first asked: making a bar and reading a PNG load no image
// plug-in of the toolkit.
TEST(MenuBarView, NoImagePlugInLoadsBeforeTheExtensionIconIsNeeded)
{
    Ref<Probe> w = Open("plug-ins", SampleBar(), false);
    test::WritePng(test::Home() / "p.png", 2, 2, [](int, int) { return 0x102030u; });
    ASSERT_TRUE(New<FolderItem>((test::Home() / "p.png").string())->OpenAsPicture());
    std::ifstream maps("/proc/self/maps");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(maps), {}).find("/imageformats/"), std::string::npos);
    auto* extension = test::MenuBarOf("plug-ins")->findChild<QToolButton*>("qt_menubar_ext_button");
    ASSERT_NE(extension, nullptr);
    EXPECT_FALSE(extension->icon().pixmap(16).isNull());
}

TEST(MenuBarView, ShortcutTextsMapModifiersAndIgnoreWhatIsNoShortcut)
{
    auto bar = New<MenuBar>();
    bar->Append(Item("T", "T"));
    bar->Child("T")->Append(Item("a", "a", true, "Cmd+Shift+s"));
    bar->Child("T")->Append(Item("b", "b", true, "Cmd+Option+X"));
    bar->Child("T")->Append(Item("c", "c", true, "Hyper+K"));
    bar->Child("T")->Append(Item("d", "d", true, "K"));
    bar->Child("T")->Append(Item("e", "e", true, "Cmd+"));
    Ref<Probe> w = Open("keys", bar, false);
    QList<QAction*> items = test::MenuOf(test::MenuBarOf("keys"), "T")->actions();
    EXPECT_EQ(items[0]->text(), "a\tCtrl+Shift+S");
    EXPECT_EQ(items[1]->text(), "b\tCtrl+Alt+X");
    EXPECT_EQ(items[2]->text(), "c");
    EXPECT_EQ(items[3]->text(), "d");
    EXPECT_EQ(items[4]->text(), "e");
}

TEST(MenuBarView, ChangesShowAtOnceInEveryWindowThatShowsTheTree)
{
    Ref<MenuBar> bar = SampleBar();
    Ref<Probe> a = Open("one", bar, false);
    Ref<Probe> b = Open("two", bar, false);
    auto soundMute = [](const char* window) {
        QMenu* game = test::MenuOf(test::MenuBarOf(window), "Game");
        return test::Entry(test::Entry(game->actions(), "Sound")->menu()->actions(), "mute");
    };
    bar->Lookup("Vol", 1)->Checked(true);
    bar->Lookup("Vol", 1)->Enabled(false);
    for (const char* win : { "one", "two" }) {
        EXPECT_TRUE(soundMute(win)->isChecked()) << win;
        EXPECT_FALSE(soundMute(win)->isEnabled()) << win;
    }
    bar->Lookup("Vol", 1)->Checked(false);
    bar->Lookup("Vol", 1)->Text("quiet");
    for (const char* win : { "one", "two" }) {
        QAction* q = test::Entry(test::Entry(test::MenuOf(test::MenuBarOf(win), "Game")->actions(), "Sound")->menu()->actions(), "quiet");
        ASSERT_NE(q, nullptr) << win;
        EXPECT_FALSE(q->isChecked());
    }
    // A node appended later shows as well.
    bar->Child("FileMenu")->Append(Item("Late", "late"));
    EXPECT_NE(test::Entry(test::MenuOf(test::MenuBarOf("two"), "File")->actions(), "late"), nullptr);
}

TEST(MenuBarView, AWindowWithoutABarOrWithTheBarHiddenShowsNone)
{
    Ref<Probe> plain = Open("plain", nullptr, false);
    EXPECT_EQ(test::MenuBarOf("plain"), nullptr);
    Ref<Probe> w = Open("hidden", SampleBar(), false);
    ASSERT_NE(test::MenuBarOf("hidden"), nullptr);
    w->MenuBarVisible(false);
    EXPECT_EQ(test::MenuBarOf("hidden"), nullptr);
    w->MenuBarVisible(true);
    EXPECT_NE(test::MenuBarOf("hidden"), nullptr);
    w->MenuBar(nullptr);
    EXPECT_EQ(test::MenuBarOf("hidden"), nullptr);
}

TEST(MenuRule, OpeningAMenuResetsEnablingRunsTheHandlerThenEnablesHandledItems)
{
    Ref<MenuBar> bar = SampleBar();
    Ref<Probe> w = Open("rule", bar, true);
    w->onEnable = [&](Probe&) {
        bar->Lookup("GameBack", 1)->Checked(true);
        bar->Lookup("Vol", 0)->Checked(true);
        bar->Lookup("Vol", 1)->Enable();
        bar->Lookup("FileQuit")->Enabled(false);
    };
    bar->Lookup("FileClose")->Enabled(true); // from before: the update starts it disabled
    test::Activate("rule");
    test::OpenMenu("rule", "Game");
    EXPECT_EQ(w->log, std::vector<std::string>({ "EnableMenuItems" }));
    EXPECT_FALSE(bar->Lookup("FileClose")->Enabled()); // AutoEnable False, no handler
    EXPECT_FALSE(bar->Lookup("FileQuit")->Enabled()); // the handler may disable an AutoEnable item
    EXPECT_TRUE(bar->Lookup("GameBack", 0)->Enabled()); // the window has a handler of the name
    EXPECT_TRUE(bar->Lookup("GameBack", 1)->Enabled()); // ... even when checked
    EXPECT_FALSE(bar->Lookup("Vol", 0)->Enabled()); // checked, no window handler: stays disabled
    EXPECT_TRUE(bar->Lookup("Vol", 1)->Enabled());
    EXPECT_TRUE(bar->Lookup("Sound")->Enabled());
    QMenu* game = test::MenuOf(test::MenuBarOf("rule"), "Game");
    QAction* loud = test::Entry(test::Entry(game->actions(), "Sound")->menu()->actions(), "loud");
    EXPECT_TRUE(loud->isChecked());
    EXPECT_FALSE(loud->isEnabled());
    game->close();
}

TEST(MenuRule, ChoosingWithTheMouseReachesTheWindowHandlerWithTheIndex)
{
    Ref<MenuBar> bar = SampleBar();
    bar->Child("GameMenu")->Append(Item("GameBack", "flat", false, "", 4)); // handled item on the menu itself
    bar->Child("FileMenu")->Append(Item("Inert", "inert", false));
    Ref<Probe> w = Open("mouse", bar, true);
    test::Activate("mouse");
    QMenu* game = test::OpenMenu("mouse", "Game");
    QAction* flat = test::Entry(game->actions(), "flat");
    ASSERT_TRUE(flat->isEnabled());
    QTest::mouseClick(game, Qt::LeftButton, {}, game->actionGeometry(flat).center());
    EXPECT_EQ(w->log.back(), "Back 4");

    // A disabled item does nothing when clicked.
    QMenu* file = test::OpenMenu("mouse", "File");
    QAction* inert = test::Entry(file->actions(), "inert");
    ASSERT_FALSE(inert->isEnabled());
    size_t before = w->log.size();
    QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(inert).center());
    inert->trigger();
    EXPECT_EQ(w->log.size(), before);
    file->close();
}

TEST(MenuRule, AShortcutRunsTheUpdateFirstAndActsOnlyWhenTheItemEndsEnabled)
{
    Ref<MenuBar> bar = SampleBar();
    Ref<Probe> handled = Open("handled", bar, true);
    QMainWindow* qw = test::Activate("handled");
    QTest::keyClick(qw, Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(handled->log, std::vector<std::string>({ "EnableMenuItems", "Back 1" }));

    // Disabled by the window's own update: the shortcut does nothing.
    handled->log.clear();
    handled->onEnable = [&](Probe&) { bar->Lookup("FileQuit")->Enabled(false); };
    QTest::keyClick(qw, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(handled->log, std::vector<std::string>({ "EnableMenuItems" }));
    EXPECT_EQ(WindowCount(), 1);

    // Another window shows the same bar but handles no background item.
    Ref<Probe> other = Open("unhandled", bar, false);
    QMainWindow* ow = test::Activate("unhandled");
    QTest::keyClick(ow, Qt::Key_0, Qt::ControlModifier);
    QTest::keyClick(ow, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(other->log, std::vector<std::string>({ "EnableMenuItems", "EnableMenuItems" }));
    EXPECT_EQ(handled->log.size(), 1u);
    EXPECT_FALSE(bar->Lookup("GameBack", 0)->Enabled());
}

TEST(MenuRule, AnExceptionInAHandlerIsReportedAndTheNextChoiceStillWorks)
{
    Ref<MenuBar> bar = SampleBar();
    Ref<Probe> w = Open("throws", bar, true);
    int calls = 0;
    w->AddMenuHandler("FileClose", std::function<bool()>([&]() -> bool {
        ++calls;
        throw NilObjectException("no field");
    }));
    QMainWindow* qw = test::Activate("throws");
    testing::internal::CaptureStderr();
    QTest::keyClick(qw, Qt::Key_W, Qt::ControlModifier);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(calls, 1);
    EXPECT_NE(err.find("NilObjectException: no field"), std::string::npos) << err;
    QTest::keyClick(qw, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(w->log.back(), "Back 0");
}

TEST(MenuRule, AHandlerAnsweringFalseLeavesTheItemToItsOwnActionSoQuitQuits)
{
    Ref<MenuBar> bar = SampleBar();
    Ref<Probe> w = Open("quit", bar, false);
    int refused = 0;
    w->AddMenuHandler("FileQuit", std::function<bool()>([&] { ++refused; return false; }));
    QMainWindow* qw = test::Activate("quit");
    QTimer::singleShot(0, [&] { QTest::keyClick(qw, Qt::Key_Q, Qt::ControlModifier); });
    QTimer::singleShot(5000, [] { RuntimeQuit(7); }); // a guard only
    EXPECT_EQ(RuntimeRun(), 0);
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(w->log.back(), "CancelClose quitting");
    EXPECT_EQ(WindowCount(), 0);
}

TEST(MenuRule, AWindowThatRefusesToCloseKeepsTheApplicationRunning)
{
    Ref<Probe> w = Open("stays", SampleBar(), false);
    w->cancelQuit = true;
    QMainWindow* qw = test::Activate("stays");
    QTimer::singleShot(0, [&] { QTest::keyClick(qw, Qt::Key_Q, Qt::ControlModifier); });
    QTimer::singleShot(300, [] { RuntimeQuit(7); });
    EXPECT_EQ(RuntimeRun(), 7);
    EXPECT_EQ(WindowCount(), 1);
}

TEST(MenuRule, WindowHandlersHoldTheWindowUntilItCloses)
{
    WeakRef<Probe> weak;
    {
        Ref<Probe> w = Open("held", SampleBar(), true);
        weak = w;
    }
    ProcessPendingEvents();
    ASSERT_FALSE(weak.Expired());
    {
        // Registering after close does nothing and keeps nothing.
        Ref<Probe> w = weak.Lock();
        w->Close();
        w->AddMenuHandler("GameBack", BindMenuHandler(w, &Probe::Back));
    }
    ProcessPendingEvents();
    EXPECT_TRUE(weak.Expired());
}

TEST(FrontWindow, IsTheWindowLastShownOrActivated)
{
    Ref<Probe> a = Open("first", nullptr, false);
    Ref<Probe> b = Open("second", nullptr, false);
    EXPECT_EQ(WindowCount(), 2);
    EXPECT_EQ(FrontWindow(), Ref<Window>(b));
    EXPECT_EQ(WindowAt(1), Ref<Window>(a));
    a->Show();
    EXPECT_EQ(FrontWindow(), Ref<Window>(a));
    test::Activate("second");
    EXPECT_EQ(FrontWindow(), Ref<Window>(b));
    b->Close();
    EXPECT_EQ(FrontWindow(), Ref<Window>(a));
    EXPECT_TRUE(WindowAt(1).IsNil());
    EXPECT_TRUE(WindowAt(-1).IsNil());
}
