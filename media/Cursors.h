#pragma once

#include <QByteArray>
#include <QImage>

#include <array>
#include <cstdint>

namespace horomine::media {

// A 16 x 16 one-bit cursor in the classic 'CURS' resource form.
struct Cursor {
    std::array<std::uint16_t, 16> image{}; // 1 = black, MSB = leftmost pixel
    std::array<std::uint16_t, 16> mask{};  // 1 = opaque (white where image is 0)
    std::int16_t hotV = 0;                 // row
    std::int16_t hotH = 0;                 // column

    // The 68-byte 'CURS' resource body.
    QByteArray toResource() const;

    // How the cursor looks over `background`, for previews.
    QImage render(QColor background) const;
};

// Crosshair used while aiming; hot spot in the middle.
Cursor makePointCursor();
// Pointing hand shown between turns; hot spot at the fingertip.
Cursor makeStartCursor();

inline constexpr std::int16_t kPointCursorId = 168;
inline constexpr std::int16_t kStartCursorId = 169;

} // namespace horomine::media
