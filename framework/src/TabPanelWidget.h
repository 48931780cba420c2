#pragma once

#include "ControlImpl.h"

#include <QTabWidget>
#include <QWidget>

#include <vector>

namespace fw {

class TabPanel;

// One page of a tab panel; places the controls on it again whenever its
// place or size changes (the tab bar's height is known only when the panel
// is laid out).
class TabPageWidget : public QWidget {
protected:
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
};

// The toolkit side of a TabPanel. Pages are made as captions need them and
// kept: a page that the captions no longer name leaves the tab bar with its
// controls and comes back when a caption names it again.
class TabPanelWidget : public QTabWidget, public ControlLink {
public:
    explicit TabPanelWidget(TabPanel* panel);
    // Shows these captions, one page each.
    void SetCaptions(const std::vector<QString>& captions);
    // The page at position i (0 first) while it is shown, else null.
    QWidget* Page(int i) const;

private:
    std::vector<TabPageWidget*> pages_;
};

} // namespace fw
