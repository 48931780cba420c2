#pragma once

#include <QImage>

namespace horomine::media {

inline constexpr int kBackgroundCount = 5;
inline constexpr int kBackgroundWidth = 480;
inline constexpr int kBackgroundHeight = 300;

// Play-field backgrounds, in menu order: 無地 (plain), 渦巻 (spiral),
// 年輪 (tree rings), 歪み (warped grid), 混沌 (chaos).
QImage makeBackground(int index);

} // namespace horomine::media
