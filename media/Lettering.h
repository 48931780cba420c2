#pragma once

#include <QImage>

namespace horomine::media {

// Result pictures shown in a quadrant of the play field; at most
// kLetteringMaxWidth x kLetteringMaxHeight. Pure white is see-through.
inline constexpr int kLetteringMaxWidth = 180;
inline constexpr int kLetteringMaxHeight = 90;

QImage makeHitPicture();  // あたり
QImage makeNearPicture(); // おしい

} // namespace horomine::media
