#pragma once

#include <QImage>

namespace horomine::media {

inline constexpr int kIconSize = 32;

// The application icon: two points joined by a line, midpoint marked.
QImage makeIcon();
// The icon's other face, shown while the pointer rests on it in the About
// window: the same scene lit up, the midpoint found.
QImage makeTamberlynIcon();

} // namespace horomine::media
