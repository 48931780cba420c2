#include "Shapes.h"

#include <cmath>
#include <numbers>

namespace horomine::media {

QPainterPath starPath(QPointF centre, double outer, double inner, int points)
{
    QPainterPath path;
    for (int i = 0; i < 2 * points; ++i) {
        const double angle = -std::numbers::pi / 2.0 + i * std::numbers::pi / points;
        const double r = (i % 2 == 0) ? outer : inner;
        const QPointF pt = centre + QPointF(std::cos(angle) * r, std::sin(angle) * r);
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

} // namespace horomine::media
