#include <framework/WaitCursor.h>

#include "WaitCursorImpl.h"

#include <QCursor>
#include <QGuiApplication>

#include <chrono>

namespace fw {

namespace {
using Clock = std::chrono::steady_clock;
constexpr auto kDelay = std::chrono::milliseconds(500);

struct WaitCursorState {
    bool enabled = true;
    int depth = 0;
    Clock::time_point since;
    bool shown = false;
};

WaitCursorState& State()
{
    static WaitCursorState s;
    return s;
}

void Hide()
{
    WaitCursorState& s = State();
    if (!s.shown)
        return;
    s.shown = false;
    if (QGuiApplication::instance())
        QGuiApplication::restoreOverrideCursor();
}
} // namespace

void DisableAutoWaitCursor()
{
    State().enabled = false;
    Hide();
}

void EnableAutoWaitCursor() { State().enabled = true; }

bool AutoWaitCursorEnabled() { return State().enabled; }

void detail::BeginProgramCall()
{
    WaitCursorState& s = State();
    if (s.depth++ == 0)
        s.since = Clock::now();
}

void detail::EndProgramCall()
{
    WaitCursorState& s = State();
    if (--s.depth == 0)
        Hide();
}

void detail::WaitCursorTick()
{
    WaitCursorState& s = State();
    if (!s.enabled || s.shown || s.depth == 0 || !QGuiApplication::instance())
        return;
    if (Clock::now() - s.since < kDelay)
        return;
    s.shown = true;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

} // namespace fw
