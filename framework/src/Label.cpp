#include <framework/Label.h>

#include "ControlImpl.h"
#include "InRange.h"

#include <QLabel>

namespace fw {

namespace {
class LabelWidget : public QLabel, public ControlLink {
public:
    explicit LabelWidget(Label* label)
    {
        control = label;
        setTextFormat(Qt::PlainText);
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
};

QLabel* Widget(const Control::Impl& c) { return static_cast<QLabel*>(c.widget.data()); }
} // namespace

Label::Label()
    : RectControl(detail::MakeImpl(new LabelWidget(this), true, false))
{
}

Label::~Label() = default;

const ClassRecord& Label::Record()
{
    static const ClassRecord record { "Label", &RectControl::Record(),
        WithTextStyle({ Property<Label>("Text", &Label::Text), Property<Label>("TextColor", &Label::TextColor),
            Property<Label>("TextAlign", &Label::TextAlign), Property<Label>("Multiline", &Label::Multiline),
            Property<Label>("Selectable", &Label::Selectable), Property<Label>("Transparent", &Label::Transparent),
            Kept("DataField", PropertyType::String), Kept("DataSource", PropertyType::String) }),
        {}, {} };
    return record;
}

const ClassRecord& Label::ClassInfo() const { return Record(); }

std::string Label::Text() const { return text_; }
void Label::Text(const std::string& text)
{
    text_ = text;
    if (QLabel* w = Widget(impl()))
        w->setText(detail::DisplayText(text));
}

Color Label::TextColor() const { return textColor_; }
void Label::TextColor(Color c)
{
    textColor_ = c;
    if (QLabel* w = Widget(impl()))
        detail::SetPaletteColor(w, QPalette::WindowText, c);
}

int32_t Label::TextAlign() const { return textAlign_; }
void Label::TextAlign(int32_t align)
{
    static const Qt::Alignment horizontal[] = { Qt::AlignLeft, Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight };
    textAlign_ = detail::InRange("TextAlign", align, 0, 3);
    if (QLabel* w = Widget(impl()))
        w->setAlignment(horizontal[align] | Qt::AlignVCenter);
}

bool Label::Multiline() const { return multiline_; }
void Label::Multiline(bool v)
{
    multiline_ = v;
    if (QLabel* w = Widget(impl()))
        w->setWordWrap(v);
}

bool Label::Selectable() const { return selectable_; }
void Label::Selectable(bool v)
{
    selectable_ = v;
    impl().acceptFocus = v;
    if (QLabel* w = Widget(impl()))
        w->setTextInteractionFlags(
            v ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard : Qt::NoTextInteraction);
    detail::UpdateFocus(*this);
}

bool Label::Transparent() const { return transparent_; }
void Label::Transparent(bool v)
{
    transparent_ = v;
    if (QLabel* w = Widget(impl()))
        w->setAutoFillBackground(!v);
}

} // namespace fw
