#pragma once

#include <QFont>

namespace horomine::media {

// A bold Japanese font at the given pixel size. Throws if no installed
// font has kana, rather than quietly producing empty boxes.
QFont japaneseFont(int pixelSize, QFont::Weight weight = QFont::Bold);

} // namespace horomine::media
