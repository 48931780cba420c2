// horomine-media: writes the game's pictures, sounds and cursor resources.
//
//   horomine-media <output-dir>
//   horomine-media --contact-sheet <file.png>
//   horomine-media --desktop-icons <icons-dir>   (hicolor/NxN/apps/horomine.png)

#include "ContactSheet.h"
#include "Icons.h"
#include "MediaSet.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <exception>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: horomine-media <output-dir>\n"
                         "       horomine-media --contact-sheet <file.png>\n"
                         "       horomine-media --desktop-icons <icons-dir>\n");
    return 2;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "horomine-media: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // Fonts need a GUI application, but this runs during the build where
    // there may be no display at all.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments().mid(1);
    try {
        using namespace horomine::media;
        if (args.size() == 2 && args[0] == QLatin1String("--contact-sheet")) {
            const QImage sheet = makeContactSheet(makePictures());
            return writeFile(args[1], encodePng(sheet)) ? 0 : 1;
        }
        if (args.size() == 2 && args[0] == QLatin1String("--desktop-icons")) {
            for (int size : {32, 48, 64, 128, 256}) {
                const QDir apps(QStringLiteral("%1/hicolor/%2x%2/apps").arg(args[1]).arg(size));
                if (!apps.mkpath(QStringLiteral("."))) {
                    std::fprintf(stderr, "horomine-media: cannot create %s\n", qPrintable(apps.path()));
                    return 1;
                }
                if (!writeFile(apps.filePath(QStringLiteral("horomine.png")), encodePng(makeDesktopIcon(size))))
                    return 1;
            }
            return 0;
        }
        if (args.size() != 1 || args[0].startsWith(QLatin1Char('-')))
            return usage();

        const QDir out(args[0]);
        if (!out.mkpath(QStringLiteral("."))) {
            std::fprintf(stderr, "horomine-media: cannot create %s\n", qPrintable(args[0]));
            return 1;
        }
        for (const MediaFile& file : makeMediaFiles(makePictures())) {
            if (!writeFile(out.filePath(file.fileName), file.bytes))
                return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "horomine-media: %s\n", e.what());
        return 1;
    }
    return 0;
}
