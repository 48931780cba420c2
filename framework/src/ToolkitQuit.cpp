#include "ToolkitQuit.h"

#include "ApplicationLink.h"
#include "RuntimeLink.h"

#include <framework/Dispatch.h>

#include <QCoreApplication>
#include <QEvent>

namespace fw::detail {

ToolkitQuit::ToolkitQuit() { QCoreApplication::instance()->installEventFilter(this); }

ToolkitQuit::~ToolkitQuit()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool ToolkitQuit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Quit || watched != QCoreApplication::instance())
        return false;
    Dispatch([] { QuitApplication(); });
    // A window that refused leaves the program running; the asker learns so.
    event->setAccepted(QuitRequested());
    return true;
}

} // namespace fw::detail
