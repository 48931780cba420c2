#include <framework/Dispatch.h>
#include <framework/Runtime.h>
#include <framework/WaitCursor.h>
#include <framework/Window.h>

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

#include <gtest/gtest.h>

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
    auto about = New<Window>();
    about->Constructor();
    bool idleShown = true, busyShown = false;
    QTimer::singleShot(0, [&] {
        g_now += 1e6; // a second after the menu call that shows the window
        Dispatch([] { YieldToBackground(); }); // the window's menu update yields
        idleShown = WaitCursorShown();
        busyShown = BusyCall(700); // a long call from its loop still shows it
        about->Close();
    });
    Dispatch([&] { about->ShowModal(); }); // as a menu handler shows it
    EXPECT_FALSE(idleShown);
    EXPECT_TRUE(busyShown);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
