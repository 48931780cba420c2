#include "MediaSet.h"

#include "Backgrounds.h"
#include "Cursors.h"
#include "Icons.h"
#include "Lettering.h"
#include "Markers.h"
#include "ResourceFileWriter.h"
#include "Sounds.h"
#include "Synth.h"
#include "TargetBadges.h"
#include "WavWriter.h"

#include <QBuffer>

#include <stdexcept>

namespace horomine::media {

std::vector<Picture> makePictures()
{
    std::vector<Picture> pictures;
    for (int i = 0; i < kBackgroundCount; ++i)
        pictures.push_back({QStringLiteral("Back%1Pict.png").arg(i), makeBackground(i)});
    pictures.push_back({QStringLiteral("MarkerPict.png"), makeMarkers()});
    pictures.push_back({QStringLiteral("HitPict.png"), makeHitPicture()});
    pictures.push_back({QStringLiteral("NearPict.png"), makeNearPicture()});
    pictures.push_back({QStringLiteral("IconPict.png"), makeIcon()});
    pictures.push_back({QStringLiteral("TamberlynPict.png"), makeTamberlynIcon()});
    pictures.push_back({QStringLiteral("TargetSystemPict.png"), makeTargetSystemPicture()});
    return pictures;
}

QByteArray encodePng(const QImage& image)
{
    // A fixed resolution keeps the pHYs chunk from depending on the
    // screen the image was created under.
    QImage copy = image;
    copy.setDotsPerMeterX(2835);
    copy.setDotsPerMeterY(2835);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Stored, unfiltered rows: the game decodes a background before its
    // first scene shows, and these decode in half the time of compressed
    // ones, for four times the bytes.
    if (!copy.save(&buffer, "PNG", 100))
        throw std::runtime_error("PNG encoding failed");
    return bytes;
}

std::vector<MediaFile> makeMediaFiles(const std::vector<Picture>& pictures)
{
    std::vector<MediaFile> files;
    for (const Picture& p : pictures)
        files.push_back({p.fileName, encodePng(p.image)});

    constexpr int kRate = Synth::kSampleRate;
    files.push_back({QStringLiteral("SoundVolSnd.wav"), encodeWav(makeSoundVolSound(), kRate)});
    files.push_back({QStringLiteral("HitSnd.wav"), encodeWav(makeHitSound(), kRate)});
    files.push_back({QStringLiteral("NearSnd.wav"), encodeWav(makeNearSound(), kRate)});
    files.push_back({QStringLiteral("OutSnd.wav"), encodeWav(makeOutSound(), kRate)});

    ResourceFileWriter rsrc;
    rsrc.add("CURS", kPointCursorId, "PointCursor", makePointCursor().toResource());
    rsrc.add("CURS", kStartCursorId, "StartCursor", makeStartCursor().toResource());
    files.push_back({QStringLiteral("horomine.rsrc"), rsrc.build()});
    return files;
}

} // namespace horomine::media
