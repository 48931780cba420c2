#include <framework/TabPanel.h>

#include "TabPanelWidget.h"

#include <QTabBar>

namespace fw {

void TabPageWidget::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    detail::PlaceControlsIn(this);
}

void TabPageWidget::moveEvent(QMoveEvent* e)
{
    QWidget::moveEvent(e);
    detail::PlaceControlsIn(this);
}

TabPanelWidget::TabPanelWidget(TabPanel* panel)
{
    control = panel;
}

void TabPanelWidget::SetCaptions(const std::vector<QString>& captions)
{
    while (pages_.size() < captions.size())
        pages_.push_back(new TabPageWidget);
    int front = currentIndex();
    while (count() > static_cast<int>(captions.size()))
        removeTab(count() - 1);
    for (size_t i = 0; i < captions.size(); ++i) {
        if (static_cast<int>(i) < count())
            setTabText(static_cast<int>(i), captions[i]);
        else
            addTab(pages_[i], captions[i]);
    }
    // A page out of the tab bar keeps its controls, hidden, until it comes back.
    for (size_t i = captions.size(); i < pages_.size(); ++i) {
        if (!pages_[i]->parentWidget())
            pages_[i]->setParent(this);
        pages_[i]->hide();
    }
    if (front >= 0 && front < count())
        setCurrentIndex(front);
}

QWidget* TabPanelWidget::Page(int i) const { return i >= 0 && i < count() ? widget(i) : nullptr; }

namespace {
TabPanelWidget* Widget(const Control::Impl& c) { return static_cast<TabPanelWidget*>(c.widget.data()); }
} // namespace

TabPanel::TabPanel()
    : RectControl(detail::MakeImpl(new TabPanelWidget(this), false, true))
{
    // The text style is the captions'.
    impl().fontTarget = Widget(impl())->tabBar();
}

TabPanel::~TabPanel() = default;

const ClassRecord& TabPanel::Record()
{
    static const ClassRecord record { "TabPanel", &RectControl::Record(),
        WithTextStyle({ Property<TabPanel>("TabDefinition", &TabPanel::TabDefinition),
            Property<TabPanel>("Value", &TabPanel::Value), Kept("SmallTabs", PropertyType::Boolean) }),
        {}, {} };
    return record;
}

const ClassRecord& TabPanel::ClassInfo() const { return Record(); }

std::string TabPanel::TabDefinition() const { return definition_; }
void TabPanel::TabDefinition(const std::string& captions)
{
    definition_ = captions;
    std::vector<QString> split;
    if (!captions.empty()) {
        size_t from = 0;
        for (;;) {
            size_t cr = captions.find('\r', from);
            split.push_back(QString::fromStdString(captions.substr(from, cr - from)));
            if (cr == std::string::npos)
                break;
            from = cr + 1;
        }
    }
    if (TabPanelWidget* w = Widget(impl()))
        w->SetCaptions(split);
}

int32_t TabPanel::Value() const
{
    TabPanelWidget* w = Widget(impl());
    return w ? std::max(w->currentIndex(), 0) : 0;
}

void TabPanel::Value(int32_t page)
{
    if (page != 0 && (page < 0 || page >= PageCount()))
        throw OutOfBoundsException("Value " + std::to_string(page) + ": the panel has " + std::to_string(PageCount())
            + " pages");
    if (TabPanelWidget* w = Widget(impl()); w && page < w->count())
        w->setCurrentIndex(page);
}

int32_t TabPanel::PageCount() const
{
    TabPanelWidget* w = Widget(impl());
    return w ? w->count() : 0;
}

} // namespace fw
