#include <framework/Dispatch.h>
#include <framework/Runtime.h>
#include <framework/WaitCursor.h>

#include <QCursor>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <chrono>

using namespace fw;

namespace {
bool WaitCursorShown()
{
    const QCursor* c = QGuiApplication::overrideCursor();
    return c && c->shape() == Qt::WaitCursor;
}

// A call from the loop that keeps the program busy for `ms`, yielding as
// long loops do; answers whether the wait cursor showed meanwhile.
bool BusyCall(int ms)
{
    bool seen = false;
    Dispatch([&] {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            YieldToBackground();
            seen = seen || WaitCursorShown();
        }
    });
    return seen;
}
} // namespace

TEST(WaitCursor, ShowsDuringALongCallOnlyAndOnlyWhileSwitchedOn)
{
    EXPECT_TRUE(AutoWaitCursorEnabled());
    EXPECT_FALSE(BusyCall(100)); // short calls never show it
    EXPECT_TRUE(BusyCall(700));
    EXPECT_FALSE(WaitCursorShown()); // gone when the call returns

    DisableAutoWaitCursor();
    EXPECT_FALSE(AutoWaitCursorEnabled());
    EXPECT_FALSE(BusyCall(700));
    EnableAutoWaitCursor();

    // Switching it off in the middle of a long call takes it away at once.
    bool afterOff = true;
    Dispatch([&] {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
        while (std::chrono::steady_clock::now() < end)
            YieldToBackground();
        EXPECT_TRUE(WaitCursorShown());
        DisableAutoWaitCursor();
        afterOff = WaitCursorShown();
    });
    EXPECT_FALSE(afterOff);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(WaitCursor, NotShownOutsideAProgramCall)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(600);
    while (std::chrono::steady_clock::now() < end)
        YieldToBackground();
    EXPECT_FALSE(WaitCursorShown());
}
