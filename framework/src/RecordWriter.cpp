#include <framework/Canvas.h>
#include <framework/Label.h>
#include <framework/RecordWriter.h>
#include <framework/SetProperties.h>
#include <framework/TabPanel.h>
#include <framework/TextArea.h>
#include <framework/Window.h>

#include <algorithm>

namespace fw {

namespace {
const char* KindName(RecordKind kind)
{
    switch (kind) {
    case RecordKind::Window: return "window";
    case RecordKind::Label: return "Label";
    case RecordKind::Canvas: return "Canvas";
    case RecordKind::TabPanel: return "TabPanel";
    case RecordKind::TextArea: return "TextArea";
    }
    return "?";
}

PropertyType TypeOf(const Value& v)
{
    if (std::holds_alternative<int32_t>(v))
        return PropertyType::Int32;
    if (std::holds_alternative<bool>(v))
        return PropertyType::Boolean;
    if (std::holds_alternative<std::string>(v))
        return PropertyType::String;
    return PropertyType::Color;
}

[[noreturn]] void Fail(RecordKind kind, std::string_view key, const std::string& what)
{
    throw RuntimeException(std::string("property record of a ") + KindName(kind) + ": \"" + std::string(key) + "\" "
        + what);
}
} // namespace

const std::vector<std::string>& RecordWriter::Keys(RecordKind kind)
{
    static const std::vector<std::string> window { "Placement", "Width", "Height", "MinWidth", "MinHeight",
        "MaxWidth", "MaxHeight", "Frame", "Composite", "HasBackColor", "BackColor", "Title", "Visible",
        "FullScreen", "MenuBarVisible", "CloseButton", "Resizeable", "LiveResize", "MaximizeButton",
        "MinimizeButton", "MacProcID" };
    static const std::vector<std::string> label { "InitialParent", "DataField", "DataSource", "Underline", "Italic",
        "Bold", "TextFont", "AutoDeactivate", "HelpTag", "Transparent", "Selectable", "Visible", "Enabled",
        "Multiline", "TextColor", "TextAlign", "Text", "TabIndex", "TabPanelIndex", "LockBottom", "LockRight",
        "LockTop", "LockLeft", "Height", "Width", "Top", "Left", "Index", "Name", "TabStop" };
    static const std::vector<std::string> canvas { "InitialParent", "EraseBackground", "DoubleBuffer",
        "AcceptTabs", "AcceptFocus", "UseFocusRing", "Enabled", "AutoDeactivate", "HelpTag", "Visible", "TabStop",
        "TabIndex", "TabPanelIndex", "LockBottom", "LockRight", "LockTop", "LockLeft", "Height", "Width", "Top",
        "Left", "Index", "Name" };
    static const std::vector<std::string> tabPanel { "Name", "Index", "Left", "Top", "Width", "Height",
        "LockLeft", "LockTop", "LockRight", "LockBottom", "TabPanelIndex", "TabIndex", "TabStop", "TabDefinition",
        "SmallTabs", "Value", "Visible", "HelpTag", "AutoDeactivate", "Enabled", "TextFont", "Bold", "Italic",
        "Underline", "InitialParent" };
    static const std::vector<std::string> textArea { "Name", "Index", "Left", "Top", "Width", "Height",
        "LockLeft", "LockTop", "LockRight", "LockBottom", "TabPanelIndex", "TabIndex", "TabStop", "Border",
        "Multiline", "ScrollbarHorizontal", "ScrollbarVertical", "Styled", "UseFocusRing", "TextColor",
        "BackColor", "Enabled", "Format", "Visible", "HelpTag", "AutoDeactivate", "HideSelection", "TextFont",
        "Bold", "Italic", "Underline", "Text", "Mask", "ReadOnly", "LimitText", "AcceptTabs", "Alignment",
        "AutomaticallyCheckSpelling", "DataSource", "DataField", "InitialParent" };
    switch (kind) {
    case RecordKind::Window: return window;
    case RecordKind::Label: return label;
    case RecordKind::Canvas: return canvas;
    case RecordKind::TabPanel: return tabPanel;
    case RecordKind::TextArea: return textArea;
    }
    return window;
}

const ClassRecord& RecordWriter::ClassOf(RecordKind kind)
{
    switch (kind) {
    case RecordKind::Window: return Window::Record();
    case RecordKind::Label: return Label::Record();
    case RecordKind::Canvas: return Canvas::Record();
    case RecordKind::TabPanel: return TabPanel::Record();
    case RecordKind::TextArea: return TextArea::Record();
    }
    return Window::Record();
}

RecordWriter::RecordWriter(RecordKind kind)
    : kind_(kind)
{
}

RecordWriter& RecordWriter::Set(std::string_view key, int32_t value) { return Put(key, value); }
RecordWriter& RecordWriter::Set(std::string_view key, bool value) { return Put(key, value); }
RecordWriter& RecordWriter::Set(std::string_view key, const char* text) { return Put(key, std::string(text)); }
RecordWriter& RecordWriter::Set(std::string_view key, const std::string& text) { return Put(key, text); }
RecordWriter& RecordWriter::Set(std::string_view key, Color value) { return Put(key, value); }

RecordWriter& RecordWriter::Put(std::string_view key, Value value)
{
    const auto& keys = Keys(kind_);
    if (std::find(keys.begin(), keys.end(), key) == keys.end())
        Fail(kind_, key, "is not a key of this kind");
    const PropertyRecord* p = ClassOf(kind_).FindProperty(std::string(key));
    if (!p)
        Fail(kind_, key, "is not a property of " + ClassOf(kind_).Name);
    if (p->Type != TypeOf(value))
        Fail(kind_, key, "takes a value of another type");
    if (!values_.emplace(std::string(key), std::move(value)).second)
        Fail(kind_, key, "is given twice");
    return *this;
}

std::string RecordWriter::Bytes() const
{
    std::string out;
    for (const std::string& key : Keys(kind_)) {
        auto it = values_.find(key);
        if (it == values_.end())
            Fail(kind_, key, "is missing");
        out += EncodeEntry(key, it->second);
    }
    return out;
}

} // namespace fw
