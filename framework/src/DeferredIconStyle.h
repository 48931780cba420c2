#pragma once

#include <QProxyStyle>

namespace fw::detail {

// The application's style, unchanged but for one icon: that of a menu
// bar's extension button, which shows only when the bar is too narrow for
// its menus. The toolkit reads it from image files when it makes the bar,
// and finding their format loads every image plug-in it has, though the
// program reads only PNG, which is built in; here it is read when first
// drawn or measured instead.
class DeferredIconStyle : public QProxyStyle {
public:
    // Takes over `base`.
    explicit DeferredIconStyle(QStyle* base);

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override;
};

} // namespace fw::detail
