#include "ContactSheet.h"

#include "Cursors.h"
#include "Fonts.h"
#include "Markers.h"
#include "Palette.h"

#include <QPainter>

#include <algorithm>
#include <map>

namespace horomine::media {

namespace {

constexpr int kSheetWidth = 1980;
constexpr int kGap = 20;
constexpr int kLabelHeight = 22;

// What the game shows: white keyed out.
QImage keyed(const QImage& sprite)
{
    QImage out = sprite.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (line[x] == palette::kKeyWhite)
                line[x] = 0;
        }
    }
    return out;
}

QImage scaled(const QImage& img, int factor)
{
    return img.scaled(img.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

class FlowLayout {
public:
    explicit FlowLayout(QPainter& painter) : p_(painter) {}

    void heading(const QString& text, int y)
    {
        x_ = kGap;
        y_ = y;
        rowHeight_ = 0;
        p_.setFont(japaneseFont(22));
        p_.setPen(Qt::black);
        p_.drawText(kGap, y_ + 24, text);
        y_ += 36;
    }

    void place(const QImage& img, const QString& label)
    {
        p_.setFont(japaneseFont(14, QFont::Normal));
        const int width = std::max(img.width(), p_.fontMetrics().horizontalAdvance(label));
        if (x_ + width > kSheetWidth - kGap)
            newRow();
        p_.setPen(QColor(40, 40, 40));
        p_.drawText(x_, y_ + 16, label);
        p_.drawImage(x_, y_ + kLabelHeight, img);
        rowHeight_ = std::max(rowHeight_, img.height() + kLabelHeight);
        x_ += width + kGap;
    }

    void newRow()
    {
        x_ = kGap;
        y_ += rowHeight_ + kGap;
        rowHeight_ = 0;
    }

    int bottom() const { return y_ + rowHeight_ + kGap; }

private:
    QPainter& p_;
    int x_ = kGap;
    int y_ = 0;
    int rowHeight_ = 0;
};

QImage inPlay(const QImage& background, const std::map<QString, QImage>& byName, int variant)
{
    QImage img = background.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    const QImage markers = keyed(byName.at(QStringLiteral("MarkerPict.png")));
    auto marker = [&](MarkerCell cell, QPoint at) {
        const int k = static_cast<int>(cell);
        p.drawImage(at - QPoint(kMarkerCentre, kMarkerCentre), markers,
                    QRect(0, k * kMarkerCell, kMarkerCell, kMarkerCell));
    };
    const QPoint red = variant % 2 ? QPoint(90, 220) : QPoint(70, 90);
    const QPoint blue = variant % 2 ? QPoint(400, 70) : QPoint(420, 250);
    const QPoint mid = (red + blue) / 2;
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(palette::kLineGreen, 1));
    p.drawLine(red, blue);
    p.setRenderHint(QPainter::Antialiasing, false);
    marker(MarkerCell::Red, red);
    marker(MarkerCell::Blue, blue);
    marker(MarkerCell::Midpoint, mid);
    marker(MarkerCell::Guess, mid + QPoint(9, -6));

    const QString result = variant % 2 ? QStringLiteral("NearPict.png") : QStringLiteral("HitPict.png");
    const QImage lettering = keyed(byName.at(result));
    const QRect quadrant = variant % 2 ? QRect(240, 150, 240, 150) : QRect(240, 0, 240, 150);
    p.drawImage(quadrant.center() - QPoint(lettering.width() / 2, lettering.height() / 2), lettering);

    p.setFont(japaneseFont(12, QFont::Normal));
    p.setPen(Qt::black);
    p.drawText(5, 14, QString::fromUtf8("ほろみねはどこだ？"));
    const QString error = QString::fromUtf8("誤差＝12");
    p.drawText(480 - 5 - p.fontMetrics().horizontalAdvance(error), 14, error);
    p.end();
    return img;
}

} // namespace

QImage makeContactSheet(const std::vector<Picture>& pictures)
{
    std::map<QString, QImage> byName;
    for (const Picture& pic : pictures)
        byName[pic.fileName] = pic.image;

    QImage sheet(kSheetWidth, 4000, QImage::Format_RGB32);
    sheet.fill(QColor(206, 206, 210));
    QPainter p(&sheet);
    FlowLayout flow(p);

    flow.heading(QStringLiteral("Pictures at 2x"), kGap);
    for (const Picture& pic : pictures)
        flow.place(scaled(pic.image, 2), pic.fileName);

    flow.heading(QStringLiteral("Cursors at 4x (hot spot in red), sprites at 4x keyed over dark ground"),
                 flow.bottom());
    const std::pair<QString, Cursor> cursors[] = {{QStringLiteral("PointCursor 168"), makePointCursor()},
                                                  {QStringLiteral("StartCursor 169"), makeStartCursor()}};
    for (const auto& [name, cursor] : cursors) {
        for (const QColor ground : {QColor(206, 206, 210), QColor(40, 44, 60)}) {
            QImage big = scaled(cursor.render(ground), 4);
            QPainter hp(&big);
            hp.setPen(QPen(Qt::red, 1));
            hp.drawRect(cursor.hotH * 4, cursor.hotV * 4, 3, 3);
            hp.end();
            flow.place(big, name);
        }
    }
    for (const QString& name : {QStringLiteral("MarkerPict.png"), QStringLiteral("HitPict.png"),
                               QStringLiteral("NearPict.png"), QStringLiteral("TargetSystemPict.png")}) {
        const QImage sprite = keyed(byName.at(name));
        QImage big(sprite.size() * (sprite.width() > 40 ? 2 : 4), QImage::Format_RGB32);
        big.fill(QColor(60, 90, 70));
        QPainter sp(&big);
        sp.drawImage(big.rect(), sprite);
        sp.end();
        flow.place(big, name);
    }

    flow.heading(QStringLiteral("In play at 1x"), flow.bottom());
    for (int i = 0; i < 5; ++i) {
        const QString name = QStringLiteral("Back%1Pict.png").arg(i);
        flow.place(inPlay(byName.at(name), byName, i), name);
    }
    const int height = flow.bottom();
    p.end();
    return sheet.copy(0, 0, kSheetWidth, height);
}

} // namespace horomine::media
