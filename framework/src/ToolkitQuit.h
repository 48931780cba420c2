#pragma once

#include <QObject>

namespace fw::detail {

// While it lives, a quit that the toolkit asks of the whole application
// (the session manager's Die at logout, among others) runs as the Quit
// item's does: the open windows close front first, whichever they are (a
// modal one, one that closes only itself), the application's Close saves
// what it keeps, the loop ends. The toolkit's own way closes the windows one
// by one and gives up at the first that does not accept its close event,
// leaving the program running with what its Close keeps unsaved.
class ToolkitQuit : public QObject {
public:
    ToolkitQuit();
    ~ToolkitQuit() override;
    ToolkitQuit(const ToolkitQuit&) = delete;
    ToolkitQuit& operator=(const ToolkitQuit&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace fw::detail
