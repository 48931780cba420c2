#include <framework/TextArea.h>

#include "ControlImpl.h"

#include <QPlainTextEdit>

namespace fw {

namespace {
class TextAreaWidget : public QPlainTextEdit, public ControlLink {
public:
    explicit TextAreaWidget(TextArea* area)
    {
        control = area;
        setTabChangesFocus(true);
    }
};

QPlainTextEdit* Widget(const Control::Impl& c) { return static_cast<QPlainTextEdit*>(c.widget.data()); }
} // namespace

TextArea::TextArea()
    : RectControl(detail::MakeImpl(new TextAreaWidget(this), true, true))
{
    UpdateWrap();
}

TextArea::~TextArea() = default;

const ClassRecord& TextArea::Record()
{
    static const ClassRecord record { "TextArea", &RectControl::Record(),
        WithTextStyle({ Property<TextArea>("Text", &TextArea::Text), Property<TextArea>("ReadOnly", &TextArea::ReadOnly),
            Property<TextArea>("Multiline", &TextArea::Multiline),
            Property<TextArea>("ScrollbarVertical", &TextArea::ScrollbarVertical),
            Property<TextArea>("ScrollbarHorizontal", &TextArea::ScrollbarHorizontal),
            Property<TextArea>("Border", &TextArea::Border), Property<TextArea>("BackColor", &TextArea::BackColor),
            Property<TextArea>("TextColor", &TextArea::TextColor),
            Property<TextArea>("AcceptTabs", &TextArea::AcceptTabs),
            Kept("Styled", PropertyType::Boolean), Kept("HideSelection", PropertyType::Boolean),
            Kept("LimitText", PropertyType::Int32), Kept("Alignment", PropertyType::Int32),
            Kept("Format", PropertyType::String), Kept("Mask", PropertyType::String),
            Kept("UseFocusRing", PropertyType::Boolean), Kept("AutomaticallyCheckSpelling", PropertyType::Boolean),
            Kept("DataSource", PropertyType::String), Kept("DataField", PropertyType::String) }),
        {}, {} };
    return record;
}

const ClassRecord& TextArea::ClassInfo() const { return Record(); }

std::string TextArea::Text() const
{
    QPlainTextEdit* w = Widget(impl());
    if (!w || !w->document()->isModified())
        return text_;
    QString s = w->toPlainText();
    s.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    return s.toStdString();
}

void TextArea::Text(const std::string& text)
{
    text_ = text;
    if (QPlainTextEdit* w = Widget(impl()))
        w->setPlainText(detail::DisplayText(text));
}

bool TextArea::ReadOnly() const { return readOnly_; }
void TextArea::ReadOnly(bool v)
{
    readOnly_ = v;
    if (QPlainTextEdit* w = Widget(impl())) {
        w->setReadOnly(v);
        if (v)
            w->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
}

bool TextArea::Multiline() const { return multiline_; }
void TextArea::Multiline(bool v)
{
    multiline_ = v;
    UpdateWrap();
}

bool TextArea::ScrollbarVertical() const { return scrollVertical_; }
void TextArea::ScrollbarVertical(bool v)
{
    scrollVertical_ = v;
    UpdateWrap();
}

bool TextArea::ScrollbarHorizontal() const { return scrollHorizontal_; }
void TextArea::ScrollbarHorizontal(bool v)
{
    scrollHorizontal_ = v;
    UpdateWrap();
}

void TextArea::UpdateWrap()
{
    QPlainTextEdit* w = Widget(impl());
    if (!w)
        return;
    w->setLineWrapMode(multiline_ && !scrollHorizontal_ ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    w->setVerticalScrollBarPolicy(scrollVertical_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    w->setHorizontalScrollBarPolicy(scrollHorizontal_ ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

bool TextArea::Border() const { return border_; }
void TextArea::Border(bool v)
{
    border_ = v;
    if (QPlainTextEdit* w = Widget(impl()))
        w->setFrameShape(v ? QFrame::StyledPanel : QFrame::NoFrame);
}

Color TextArea::BackColor() const { return backColor_; }
void TextArea::BackColor(Color c)
{
    backColor_ = c;
    if (QPlainTextEdit* w = Widget(impl()))
        detail::SetPaletteColor(w, QPalette::Base, c);
}

Color TextArea::TextColor() const { return textColor_; }
void TextArea::TextColor(Color c)
{
    textColor_ = c;
    if (QPlainTextEdit* w = Widget(impl()))
        detail::SetPaletteColor(w, QPalette::Text, c);
}

bool TextArea::AcceptTabs() const { return acceptTabs_; }
void TextArea::AcceptTabs(bool v)
{
    acceptTabs_ = v;
    if (QPlainTextEdit* w = Widget(impl()))
        w->setTabChangesFocus(!v);
}

} // namespace fw
