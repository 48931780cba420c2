#include <framework/RectControl.h>

#include <framework/MouseCursor.h>

#include "ControlImpl.h"
#include "InRange.h"
#include "MouseCursorImpl.h"
#include "TabPanelWidget.h"
#include "WindowImpl.h"

#include <QApplication>

#include <algorithm>
#include <cmath>

namespace fw {

const ClassRecord& RectControl::Record()
{
    static const ClassRecord record { "RectControl", &Control::Record(),
        { Property<RectControl>("Left", &RectControl::Left), Property<RectControl>("Top", &RectControl::Top),
            Property<RectControl>("Width", &RectControl::Width),
            Property<RectControl>("Height", &RectControl::Height),
            Property<RectControl>("Visible", &RectControl::Visible),
            Property<RectControl>("Enabled", &RectControl::Enabled),
            Property<RectControl>("TabIndex", &RectControl::TabIndex),
            Property<RectControl>("TabStop", &RectControl::TabStop),
            Property<RectControl>("InitialParent", &RectControl::InitialParent),
            Property<RectControl>("TabPanelIndex", &RectControl::TabPanelIndex),
            Property<RectControl>("HelpTag", &RectControl::HelpTag),
            Kept("AutoDeactivate", PropertyType::Boolean), Kept("LockLeft", PropertyType::Boolean),
            Kept("LockTop", PropertyType::Boolean), Kept("LockRight", PropertyType::Boolean),
            Kept("LockBottom", PropertyType::Boolean),
            Property<RectControl>("MouseCursor", &RectControl::MouseCursor) },
        { Method("Refresh", &RectControl::Refresh) }, { "MouseEnter", "MouseExit" } };
    return record;
}

const ClassRecord& RectControl::ClassInfo() const { return Record(); }

namespace {
// The rectangle moved, and if need be shrunk, to lie inside `area`.
QRect FitInside(QRect r, const QRect& area)
{
    r.setWidth(std::min(r.width(), area.width()));
    r.setHeight(std::min(r.height(), area.height()));
    r.moveLeft(std::clamp(r.left(), area.left(), area.right() + 1 - r.width()));
    r.moveTop(std::clamp(r.top(), area.top(), area.bottom() + 1 - r.height()));
    return r;
}

void SetGeometry(Control::Impl& c)
{
    QWidget* w = c.widget.data();
    if (!w)
        return;
    QRect r(c.left, c.top, c.width, c.height);
    QWidget* parent = w->parentWidget();
    Ref<fw::Window> window = c.window.Lock();
    QWidget* client = window ? window->impl().client.data() : nullptr;
    if (parent && client && parent != client && client->isAncestorOf(parent))
        r.translate(-parent->mapTo(client, QPoint(0, 0)));
    if (parent && dynamic_cast<TabPageWidget*>(parent))
        r = FitInside(r, parent->rect());
    w->setGeometry(r);
}

void ApplyFont(Control::Impl& c)
{
    if (c.fontTarget)
        c.fontTarget->setFont(detail::StyleFont(c));
}
} // namespace

std::unique_ptr<Control::Impl> detail::MakeImpl(QWidget* widget, bool styled, bool acceptFocus)
{
    auto impl = std::make_unique<Control::Impl>();
    impl->widget = widget;
    impl->acceptFocus = acceptFocus;
    if (styled)
        impl->fontTarget = widget;
    widget->setFocusPolicy(acceptFocus ? Qt::StrongFocus : Qt::NoFocus);
    widget->hide();
    return impl;
}

Control* detail::ControlOf(QWidget* widget)
{
    auto* link = dynamic_cast<ControlLink*>(widget);
    return link ? link->control : nullptr;
}

void detail::PlaceControlsIn(QWidget* widget)
{
    if (!widget)
        return;
    // Parents come before what lies inside them.
    for (QWidget* child : widget->findChildren<QWidget*>())
        if (Control* c = ControlOf(child))
            SetGeometry(c->impl());
}

void detail::PlaceControl(Control::Impl& c)
{
    SetGeometry(c);
    PlaceControlsIn(c.widget);
}

void detail::ParentControl(Control& control)
{
    Control::Impl& c = control.impl();
    Ref<fw::Window> window = c.window.Lock();
    QWidget* w = c.widget.data();
    if (!window || !w)
        return;
    QWidget* parent = window->impl().client;
    if (!c.initialParent.empty()) {
        Ref<Control> holder = window->ControlByName(c.initialParent);
        if (!holder)
            throw RuntimeException("InitialParent \"" + c.initialParent + "\": the window holds no control of that name");
        QWidget* hw = holder->impl().widget.data();
        if (holder.Get() == &control || !hw || w == hw || w->isAncestorOf(hw))
            throw RuntimeException("InitialParent \"" + c.initialParent + "\": a control cannot lie inside itself");
        parent = hw;
        auto* panel = dynamic_cast<TabPanelWidget*>(hw);
        if (panel && c.tabPanelIndex != 0) {
            parent = panel->Page(c.tabPanelIndex - 1);
            if (!parent)
                throw OutOfBoundsException("TabPanelIndex " + std::to_string(c.tabPanelIndex) + ": \""
                    + c.initialParent + "\" has " + std::to_string(panel->count()) + " pages");
        }
    }
    if (w->parentWidget() != parent)
        w->setParent(parent);
    w->setVisible(c.visible);
    PlaceControl(c);
    UpdateFocus(control);
}

void detail::UpdateFocus(Control& control)
{
    Control::Impl& c = control.impl();
    if (c.widget)
        c.widget->setFocusPolicy(!c.acceptFocus ? Qt::NoFocus : c.tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    Ref<fw::Window> window = c.window.Lock();
    if (!window)
        return;
    std::vector<Control*> chain;
    for (int32_t i = 0; i < window->ControlCount(); ++i) {
        Control* each = window->impl().controls[static_cast<size_t>(i)].Get();
        QWidget* w = each->impl().widget.data();
        if (w && (w->focusPolicy() & Qt::TabFocus))
            chain.push_back(each);
    }
    std::stable_sort(chain.begin(), chain.end(),
        [](Control* a, Control* b) { return a->impl().tabIndex < b->impl().tabIndex; });
    for (size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1]->impl().widget, chain[i]->impl().widget);
}

QFont detail::StyleFont(const Control::Impl& c)
{
    QFont f = QApplication::font();
    if (c.textFont != "System")
        f.setFamily(QString::fromStdString(c.textFont));
    if (c.textSize > 0)
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(c.textSize))));
    f.setBold(c.bold);
    f.setItalic(c.italic);
    f.setUnderline(c.underline);
    return f;
}

QString detail::DisplayText(const std::string& text)
{
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

void detail::SetPaletteColor(QWidget* widget, QPalette::ColorRole role, Color color)
{
    QPalette pal = widget->palette();
    pal.setColor(role, QColor(color.Red(), color.Green(), color.Blue()));
    widget->setPalette(pal);
}

namespace {
void SetPlace(Control::Impl& c, int32_t& field, const char* name, int32_t v, int32_t lowest)
{
    field = detail::InRange(name, v, lowest, 32767);
    detail::PlaceControl(c);
}
} // namespace

int32_t RectControl::Left() const { return impl().left; }
void RectControl::Left(int32_t v) { SetPlace(impl(), impl().left, "Left", v, -32768); }
int32_t RectControl::Top() const { return impl().top; }
void RectControl::Top(int32_t v) { SetPlace(impl(), impl().top, "Top", v, -32768); }
int32_t RectControl::Width() const { return impl().width; }
void RectControl::Width(int32_t v) { SetPlace(impl(), impl().width, "Width", v, 0); }
int32_t RectControl::Height() const { return impl().height; }
void RectControl::Height(int32_t v) { SetPlace(impl(), impl().height, "Height", v, 0); }

bool RectControl::Visible() const { return impl().visible; }
void RectControl::Visible(bool v)
{
    impl().visible = v;
    // A widget without a parent would show as a window of its own.
    if (impl().widget && impl().widget->parentWidget())
        impl().widget->setVisible(v);
}

bool RectControl::Enabled() const { return impl().enabled; }
void RectControl::Enabled(bool v)
{
    impl().enabled = v;
    if (impl().widget)
        impl().widget->setEnabled(v);
}

int32_t RectControl::TabIndex() const { return impl().tabIndex; }
void RectControl::TabIndex(int32_t v)
{
    impl().tabIndex = v;
    detail::UpdateFocus(*this);
}
bool RectControl::TabStop() const { return impl().tabStop; }
void RectControl::TabStop(bool v)
{
    impl().tabStop = v;
    detail::UpdateFocus(*this);
}

namespace {
// A failed placement leaves the control where it was.
template <class V>
void SetParentage(Control& control, V& field, V v)
{
    V old = field;
    field = v;
    try {
        detail::ParentControl(control);
    } catch (...) {
        field = old;
        throw;
    }
}
} // namespace

std::string RectControl::InitialParent() const { return impl().initialParent; }
void RectControl::InitialParent(const std::string& name) { SetParentage(*this, impl().initialParent, name); }
int32_t RectControl::TabPanelIndex() const { return impl().tabPanelIndex; }
void RectControl::TabPanelIndex(int32_t v) { SetParentage(*this, impl().tabPanelIndex, v); }

std::string RectControl::HelpTag() const { return impl().helpTag; }
void RectControl::HelpTag(const std::string& text)
{
    impl().helpTag = text;
    if (impl().widget)
        impl().widget->setToolTip(QString::fromStdString(text));
}

void RectControl::Refresh(bool eraseBackground)
{
    (void)eraseBackground; // the toolkit always repaints whole
    if (impl().widget)
        impl().widget->update();
}

Ref<fw::MouseCursor> RectControl::MouseCursor() const { return cursor_; }

void RectControl::MouseCursor(const Ref<fw::MouseCursor>& cursor)
{
    cursor_ = cursor;
    if (QWidget* w = impl().widget.data()) {
        if (cursor_)
            w->setCursor(ToQCursor(*cursor_));
        else
            w->unsetCursor();
    }
}

namespace {
template <class V>
void SetStyle(Control::Impl& c, V& field, V v)
{
    field = v;
    ApplyFont(c);
}
} // namespace

std::string RectControl::TextFont() const { return impl().textFont; }
void RectControl::TextFont(const std::string& name) { SetStyle(impl(), impl().textFont, name); }
float RectControl::TextSize() const { return impl().textSize; }
void RectControl::TextSize(float size)
{
    if (!(size >= 0 && size <= 1000))
        throw OutOfBoundsException("TextSize " + std::to_string(size) + " is outside 0 to 1000");
    SetStyle(impl(), impl().textSize, size);
}
int32_t RectControl::TextUnit() const { return impl().textUnit; }
void RectControl::TextUnit(int32_t unit)
{
    if (unit != 0)
        throw OutOfBoundsException("TextUnit " + std::to_string(unit) + ": the one unit known is 0, pixels");
    SetStyle(impl(), impl().textUnit, unit);
}
bool RectControl::Bold() const { return impl().bold; }
void RectControl::Bold(bool v) { SetStyle(impl(), impl().bold, v); }
bool RectControl::Italic() const { return impl().italic; }
void RectControl::Italic(bool v) { SetStyle(impl(), impl().italic, v); }
bool RectControl::Underline() const { return impl().underline; }
void RectControl::Underline(bool v) { SetStyle(impl(), impl().underline, v); }

std::vector<PropertyRecord> RectControl::WithTextStyle(std::vector<PropertyRecord> own)
{
    own.insert(own.end(),
        { Property<RectControl>("TextFont", &RectControl::TextFont),
            Property<RectControl>("TextSize", &RectControl::TextSize),
            Property<RectControl>("TextUnit", &RectControl::TextUnit), Property<RectControl>("Bold", &RectControl::Bold),
            Property<RectControl>("Italic", &RectControl::Italic),
            Property<RectControl>("Underline", &RectControl::Underline) });
    return own;
}

} // namespace fw
