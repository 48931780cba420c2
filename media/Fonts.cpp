#include "Fonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

#include <stdexcept>

namespace horomine::media {

namespace {

QString pickFamily()
{
    const QStringList preferred{"Noto Sans CJK JP", "Noto Sans JP", "Source Han Sans JP", "IPAexGothic",
                                "IPAGothic", "TakaoGothic", "VL Gothic"};
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : preferred) {
        if (installed.contains(family))
            return family;
    }
    for (const QString& family : installed) {
        if (QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese))
            return family;
    }
    return {};
}

} // namespace

QFont japaneseFont(int pixelSize, QFont::Weight weight)
{
    static const QString family = pickFamily();
    if (family.isEmpty())
        throw std::runtime_error("no Japanese font found (install fonts-noto-cjk)");
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    if (!QFontMetricsF(font).inFont(QChar(0x3042)))
        throw std::runtime_error("font " + family.toStdString() + " lacks kana");
    return font;
}

} // namespace horomine::media
