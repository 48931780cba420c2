#pragma once

#include <framework/Color.h>
#include <framework/RectControl.h>

#include <cstdint>
#include <string>

namespace fw {

// An area of plain text that the user can scroll, select and copy, and
// edit unless ReadOnly.
//
// Accepted from records and kept without effect (Object::KeptValue):
// Styled, HideSelection, LimitText, Alignment, Format, Mask, UseFocusRing,
// AutomaticallyCheckSpelling, DataSource, DataField.
class TextArea : public RectControl {
public:
    TextArea();
    ~TextArea() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // Lines are separated by single CR bytes (an LF, and CR LF, break the
    // line too); two CRs make an empty line. Answers the text as given
    // until the user edits it, then the edited text with CR line breaks.
    std::string Text() const;
    void Text(const std::string& text);
    // Typing changes nothing; selecting and copying still work.
    bool ReadOnly() const;
    void ReadOnly(bool v);
    // Lines wrap at the area's width while Multiline and no horizontal
    // scroll bar is asked for.
    bool Multiline() const;
    void Multiline(bool v);
    // Each scroll bar shows when the text needs it; False never shows it.
    bool ScrollbarVertical() const;
    void ScrollbarVertical(bool v);
    bool ScrollbarHorizontal() const;
    void ScrollbarHorizontal(bool v);
    bool Border() const;
    void Border(bool v);
    Color BackColor() const;
    void BackColor(Color c);
    Color TextColor() const;
    void TextColor(Color c);
    // False: the Tab key moves the focus on instead of typing a tab.
    bool AcceptTabs() const;
    void AcceptTabs(bool v);

    using RectControl::Bold;
    using RectControl::Italic;
    using RectControl::TextFont;
    using RectControl::TextSize;
    using RectControl::TextUnit;
    using RectControl::Underline;

private:
    void UpdateWrap();

    std::string text_;
    bool readOnly_ = false;
    bool multiline_ = true;
    bool scrollVertical_ = true;
    bool scrollHorizontal_ = false;
    bool border_ = true;
    Color backColor_ { 0xFFFFFF };
    Color textColor_;
    bool acceptTabs_ = false;
};

} // namespace fw
