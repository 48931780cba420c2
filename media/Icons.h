#pragma once

#include <QImage>

namespace horomine::media {

inline constexpr int kIconSize = 32;

// The application icon: two points joined by a line, midpoint marked.
QImage makeIcon();
// The icon's other face, shown while the pointer rests on it in the About
// window: the same scene lit up, the midpoint found.
QImage makeTamberlynIcon();

// The icon for the desktop's menus at size x size pixels, on a transparent
// ground: at 32 the game's own icon with its key white made transparent,
// larger sizes drawn anew at that size.
QImage makeDesktopIcon(int size);

} // namespace horomine::media
