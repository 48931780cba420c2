#pragma once

#include <framework/Color.h>
#include <framework/RectControl.h>

#include <cstdint>
#include <string>

namespace fw {

// A control that shows a text. A press on it goes on to the window unless
// its text is Selectable.
//
// Accepted from records and kept without effect (Object::KeptValue):
// DataField, DataSource.
class Label : public RectControl {
public:
    Label();
    ~Label() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // The text as given; a single CR byte (and CR LF, and LF) breaks the line.
    std::string Text() const;
    void Text(const std::string& text);
    Color TextColor() const;
    void TextColor(Color c);
    // 0 and 1 left, 2 centred, 3 right; other values raise
    // OutOfBoundsException.
    int32_t TextAlign() const;
    void TextAlign(int32_t align);
    // Whether long lines wrap at the label's width.
    bool Multiline() const;
    void Multiline(bool v);
    // Whether the user may select and copy the text.
    bool Selectable() const;
    void Selectable(bool v);
    // False fills the label with the window's background first.
    bool Transparent() const;
    void Transparent(bool v);

    using RectControl::Bold;
    using RectControl::Italic;
    using RectControl::TextFont;
    using RectControl::TextSize;
    using RectControl::TextUnit;
    using RectControl::Underline;

private:
    std::string text_;
    Color textColor_;
    int32_t textAlign_ = 0;
    bool multiline_ = false;
    bool selectable_ = false;
    bool transparent_ = true;
};

} // namespace fw
