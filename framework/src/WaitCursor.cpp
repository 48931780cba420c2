#include <framework/WaitCursor.h>

#include "WaitCursorImpl.h"

#include <framework/Numbers.h>

#include <QCursor>
#include <QGuiApplication>

namespace fw {

namespace {
constexpr double kDelayMicroseconds = 500000;

struct WaitCursorState {
    bool enabled = true;
    int depth = 0;
    double (*clock)() = Microseconds;
    double since = 0;
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

void SetWaitCursorClock(double (*clock)()) { State().clock = clock ? clock : Microseconds; }

void detail::BeginProgramCall()
{
    WaitCursorState& s = State();
    if (s.depth++ == 0)
        s.since = s.clock();
}

void detail::EndProgramCall()
{
    WaitCursorState& s = State();
    if (--s.depth == 0)
        Hide();
}

detail::WaitingForInput::WaitingForInput()
    : depth_(State().depth)
{
    State().depth = 0;
    Hide();
}

detail::WaitingForInput::~WaitingForInput()
{
    WaitCursorState& s = State();
    s.depth = depth_;
    if (s.depth > 0)
        s.since = s.clock();
}

void detail::WaitCursorTick()
{
    WaitCursorState& s = State();
    if (!s.enabled || s.shown || s.depth == 0 || !QGuiApplication::instance())
        return;
    if (s.clock() - s.since < kDelayMicroseconds)
        return;
    s.shown = true;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

} // namespace fw
