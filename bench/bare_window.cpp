// The start-up baseline: the least a Qt program of the game's kind does
// before its first scene, a 480 x 300 window drawing one Japanese string.

#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {
class Bare : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.drawText(5, 14, QStringLiteral("クリックしてください"));
    }
};
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Bare window;
    window.setWindowTitle(QStringLiteral("ほろみね"));
    window.setFixedSize(480, 300);
    window.show();
    return app.exec();
}
