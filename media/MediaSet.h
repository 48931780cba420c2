#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

namespace horomine::media {

struct Picture {
    QString fileName;
    QImage image;
};

struct MediaFile {
    QString fileName;
    QByteArray bytes;
};

// Every picture the game loads, in a stable order.
std::vector<Picture> makePictures();

// Every file the tool writes: pictures as PNG, sounds as WAV, and the
// cursor resource file.
std::vector<MediaFile> makeMediaFiles(const std::vector<Picture>& pictures);

// Stored, unfiltered rows and no text chunks: identical pixels give
// identical bytes, and the game decodes them at little more than a copy.
QByteArray encodePng(const QImage& image);

} // namespace horomine::media
