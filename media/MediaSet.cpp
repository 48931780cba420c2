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


#include <zlib.h>

#include <cstdint>
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

namespace {

void appendBigEndian(QByteArray& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>((v >> shift) & 0xff));
}

void appendChunk(QByteArray& out, const char* type, const QByteArray& data)
{
    QByteArray chunk(type, 4);
    chunk += data;
    appendBigEndian(out, static_cast<uint32_t>(data.size()));
    out += chunk;
    appendBigEndian(out, static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(chunk.constData()), static_cast<uInt>(chunk.size()))));
}

} // namespace

QByteArray encodePng(const QImage& image)
{
    // Written here rather than by the toolkit, which filters every row:
    // the game decodes a background before its first scene shows, and
    // stored, unfiltered rows cost it little more than a copy, where a
    // filtered row costs a pass over every byte (and compressed ones an
    // inflate), for about four times the bytes of a compressed file.
    const bool alpha = image.hasAlphaChannel();
    const QImage pixels = image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    const qsizetype rowBytes = qsizetype(pixels.width()) * (alpha ? 4 : 3);
    QByteArray rows;
    rows.reserve((rowBytes + 1) * pixels.height());
    for (int y = 0; y < pixels.height(); ++y) {
        rows.append('\0'); // filter type None
        rows.append(reinterpret_cast<const char*>(pixels.constScanLine(y)), rowBytes);
    }
    QByteArray stream(static_cast<qsizetype>(compressBound(static_cast<uLong>(rows.size()))), Qt::Uninitialized);
    uLongf streamBytes = static_cast<uLongf>(stream.size());
    if (compress2(reinterpret_cast<Bytef*>(stream.data()), &streamBytes, reinterpret_cast<const Bytef*>(rows.constData()),
            static_cast<uLong>(rows.size()), Z_NO_COMPRESSION) != Z_OK)
        throw std::runtime_error("PNG encoding failed");
    stream.truncate(static_cast<qsizetype>(streamBytes));

    QByteArray header;
    appendBigEndian(header, static_cast<uint32_t>(pixels.width()));
    appendBigEndian(header, static_cast<uint32_t>(pixels.height()));
    header.append(char(8)); // bits per sample
    header.append(char(alpha ? 6 : 2)); // RGBA or RGB
    header.append(3, '\0'); // deflate, adaptive filtering, no interlace
    // A fixed resolution (72 dpi) keeps the file from depending on the
    // screen the image was created under.
    QByteArray resolution;
    appendBigEndian(resolution, 2835);
    appendBigEndian(resolution, 2835);
    resolution.append(char(1)); // per metre

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "pHYs", resolution);
    appendChunk(png, "IDAT", stream);
    appendChunk(png, "IEND", {});
    return png;
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
