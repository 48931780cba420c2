#include <framework/Application.h>
#include <framework/Dispatch.h>
#include <framework/MenuBar.h>
#include <framework/Runtime.h>
#include <framework/WaitCursor.h>
#include <framework/Window.h>

#include "common/ToolkitDriver.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace fw;

namespace {
// The clock the wait cursor reads, in microseconds; the tests move it.
double g_now = 0;
double Now() { return g_now; }

bool WaitCursorShown()
{
    const QCursor* c = QGuiApplication::overrideCursor();
    return c && c->shape() == Qt::WaitCursor;
}

// A long loop of `ms` milliseconds, yielding every 10 ms as long loops do;
// answers whether the wait cursor showed meanwhile.
bool Busy(int ms)
{
    bool seen = false;
    for (int t = 0; t < ms; t += 10) {
        g_now += 10000;
        YieldToBackground();
        seen = seen || WaitCursorShown();
    }
    return seen;
}

// The same loop as one call from the event loop into the program.
bool BusyCall(int ms)
{
    bool seen = false;
    Dispatch([&] { seen = Busy(ms); });
    return seen;
}

class Titled : public Window {
public:
    explicit Titled(std::string title) : title_(std::move(title)) {}
    void Layout() override { Title(title_); }

private:
    std::string title_;
};

// Its menu update yields, as a long loop would.
class App : public Application {
public:
    Ref<Window> about;
    std::function<void()> inModal;
    void Event_EnableMenuItems() override { YieldToBackground(); }
    bool About()
    {
        QTimer::singleShot(0, inModal);
        about->ShowModal();
        return true;
    }
};

class WaitCursor : public testing::Test {
protected:
    void SetUp() override { SetWaitCursorClock(Now); }
    void TearDown() override { SetWaitCursorClock(nullptr); }
};
} // namespace

TEST_F(WaitCursor, ShowsDuringALongCallOnlyAndOnlyWhileSwitchedOn)
{
    EXPECT_TRUE(AutoWaitCursorEnabled());
    EXPECT_FALSE(BusyCall(490)); // short calls never show it
    EXPECT_TRUE(BusyCall(700));
    EXPECT_FALSE(WaitCursorShown()); // gone when the call returns

    DisableAutoWaitCursor();
    EXPECT_FALSE(AutoWaitCursorEnabled());
    EXPECT_FALSE(BusyCall(700));
    EnableAutoWaitCursor();

    // Switching it off in the middle of a long call takes it away at once.
    bool afterOff = true;
    Dispatch([&] {
        EXPECT_TRUE(Busy(600));
        DisableAutoWaitCursor();
        afterOff = WaitCursorShown();
    });
    EXPECT_FALSE(afterOff);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(WaitCursor, NotShownOutsideAProgramCall)
{
    EXPECT_FALSE(Busy(600));
}

TEST_F(WaitCursor, AModalWindowWaitingForInputIsIdleTimeNotBusyTime)
{
    auto app = New<App>();
    auto bar = New<MenuBar>();
    auto help = New<MenuItem>();
    help->Name("HelpMenu");
    help->Text("Help");
    auto item = New<MenuItem>();
    item->Name("About");
    item->Text("About");
    help->Append(item);
    bar->Append(help);
    app->MenuBar(bar);
    RuntimeRegisterAppObject(app);
    app->AddMenuHandler("About", BindMenuHandler(app, &App::About));
    auto main = New<Titled>("main");
    main->Constructor();
    app->about = New<Titled>("about");
    app->about->Constructor();

    bool idleShown = true, busyShown = false;
    app->inModal = [&] {
        // A second after the menu call began, the modal window's own menu
        // opens and closes: the menu update yields.
        g_now += 1e6;
        test::OpenMenu("about", "Help");
        test::CloseMenus();
        idleShown = WaitCursorShown();
        busyShown = BusyCall(700); // a long call from the modal loop still shows it
        app->about->Close();
    };
    QMenu* menu = test::OpenMenu("main", "Help");
    test::Click(menu, test::Entry(menu->actions(), "About"));
    EXPECT_FALSE(idleShown);
    EXPECT_TRUE(busyShown);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
