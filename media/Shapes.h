#pragma once

#include <QPainterPath>
#include <QPointF>

namespace horomine::media {

// A star of `points` tips at radius `outer`, its notches at `inner`, the
// first tip straight up.
QPainterPath starPath(QPointF centre, double outer, double inner, int points);

} // namespace horomine::media
