#pragma once

#include <framework/Color.h>
#include <framework/Object.h>

#include <cstdint>
#include <memory>
#include <string>

namespace fw {

class Picture;

// A drawing context: on a picture, or on a control while it paints.
class Graphics : public Object {
public:
    ~Graphics() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    int32_t Width() const;
    int32_t Height() const;

    // The colour of lines, fills and text; black at first.
    Color ForeColor() const;
    void ForeColor(Color c);

    // True draws without antialiasing, pixel-exact like the old renderer.
    bool UseOldRenderer() const;
    void UseOldRenderer(bool on);

    std::string TextFont() const;
    void TextFont(const std::string& family);
    double TextSize() const;
    void TextSize(double points);
    bool Bold() const;
    void Bold(bool on);

    // The whole picture at its natural size with its top left at (x, y).
    // A nil picture draws nothing.
    void DrawPicture(const Ref<Picture>& picture, int32_t x, int32_t y);
    // The source rectangle of the picture stretched into the destination.
    void DrawPicture(const Ref<Picture>& picture, int32_t x, int32_t y, int32_t w, int32_t h, int32_t sx,
        int32_t sy, int32_t sw, int32_t sh);
    void FillRect(int32_t x, int32_t y, int32_t w, int32_t h);
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // One line of text with its baseline at y. A wrap width above 0 breaks
    // the text into lines no wider than that.
    void DrawString(const std::string& text, double x, double y, double wrapWidth = 0, bool condense = false);
    double StringWidth(const std::string& text) const;

    // The colour of one pixel of a picture's Graphics; black outside it and
    // on a control's Graphics, which keeps no pixels of its own.
    Color Pixel(int32_t x, int32_t y) const;

    struct Impl;
    explicit Graphics(std::unique_ptr<Impl> impl);
    Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

} // namespace fw
