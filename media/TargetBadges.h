#pragma once

#include <QImage>
#include <QString>

namespace horomine::media {

inline constexpr int kBadgeWidth = 16;
inline constexpr int kBadgeHeight = 8;
inline constexpr int kBadgeCount = 5;

// Short name of the processor this tool was compiled for, as shown in the
// last badge: "x64", "A64", or "LNX" for anything else.
QString buildTargetLabel();

// A column of five badges; the last one is this build's target.
QImage makeTargetSystemPicture();

} // namespace horomine::media
