#pragma once

#include <QImage>

namespace horomine::media {

inline constexpr int kMarkerCell = 16;
inline constexpr int kMarkerCentre = 7;

// Cells stacked top to bottom: red point, blue point, true midpoint,
// player's guess. Pure white is the see-through colour.
enum class MarkerCell { Red = 0, Blue = 1, Midpoint = 2, Guess = 3 };

QImage makeMarkers();

} // namespace horomine::media
