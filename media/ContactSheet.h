#pragma once

#include "MediaSet.h"

#include <QImage>

#include <vector>

namespace horomine::media {

// One image for reviewing the artwork: every picture at 2x, the cursors at
// 4x over light and dark ground, and each background as it looks in play.
QImage makeContactSheet(const std::vector<Picture>& pictures);

} // namespace horomine::media
