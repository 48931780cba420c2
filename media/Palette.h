#pragma once

#include <QColor>

namespace horomine::media::palette {

// Colours shared by the markers, the icon and the previews, so the icon
// reads as a picture of the game itself.
inline const QColor kRed{222, 38, 38};
inline const QColor kRedDark{128, 14, 14};
inline const QColor kRedLight{255, 168, 150};
inline const QColor kBlue{40, 86, 220};
inline const QColor kBlueDark{14, 30, 120};
inline const QColor kBlueLight{160, 190, 255};
// The colour the game draws the line between the two markers in.
inline const QColor kLineGreen{51, 153, 51};
inline const QColor kGreenDark{20, 92, 28};
inline const QColor kGreenPale{214, 240, 196};
inline const QColor kInk{24, 24, 28};

// The game keys out exactly this colour when drawing sprites.
inline constexpr unsigned kKeyWhite = 0xFFFFFFFFu;

} // namespace horomine::media::palette
