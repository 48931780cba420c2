// Runs horomine-media and checks what the game relies on in its output.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

const QStringList kPictures{"Back0Pict.png", "Back1Pict.png", "Back2Pict.png", "Back3Pict.png",
                            "Back4Pict.png", "MarkerPict.png", "HitPict.png", "NearPict.png",
                            "IconPict.png", "TamberlynPict.png", "TargetSystemPict.png"};
const QStringList kSounds{"SoundVolSnd.wav", "HitSnd.wav", "NearSnd.wav", "OutSnd.wav"};
const QString kResourceFile = "horomine.rsrc";

constexpr QRgb kKeyWhite = 0xFFFFFFFFu;

double luminance(QRgb p)
{
    return 0.299 * qRed(p) + 0.587 * qGreen(p) + 0.114 * qBlue(p);
}

int runTool(const QStringList& args)
{
    QProcess tool;
    tool.start(QStringLiteral(HOROMINE_MEDIA_TOOL), args);
    if (!tool.waitForFinished(120000))
        return -1;
    return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Key-white pixels not connected to the border of `area`: these would be
// see-through holes in the middle of a sprite.
int enclosedKeyWhite(const QImage& img, const QRect& area)
{
    std::vector<char> seen(static_cast<std::size_t>(area.width() * area.height()), 0);
    auto index = [&](QPoint p) {
        return static_cast<std::size_t>((p.y() - area.top()) * area.width() + (p.x() - area.left()));
    };
    std::vector<QPoint> stack;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (x == area.left() || x == area.right() || y == area.top() || y == area.bottom())
                stack.emplace_back(x, y);
        }
    }
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        if (!area.contains(p) || seen[index(p)] || img.pixel(p) != kKeyWhite)
            continue;
        seen[index(p)] = 1;
        stack.insert(stack.end(), {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    int holes = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            holes += img.pixel(x, y) == kKeyWhite && !seen[index(QPoint(x, y))];
    }
    return holes;
}

class MediaTest : public ::testing::Test {
protected:
    // What the build wrote into the bundle: checking it, rather than a run
    // of our own per test, keeps each test from paying for a whole run.
    static QString path(const QString& name) { return QDir(QStringLiteral(HOROMINE_RESOURCES_DIR)).filePath(name); }
    static QImage image(const QString& name) { return QImage(path(name)); }
};

TEST_F(MediaTest, WritesEveryFileAndIsByteIdenticalFromRunToRun)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A directory that does not exist yet: the tool must create it.
    const QString second = QDir(dir.path()).filePath("Resources");
    ASSERT_EQ(runTool({second}), 0);

    QStringList expected = kPictures + kSounds;
    expected << kResourceFile;
    expected.sort();
    QStringList written = QDir(second).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(written, expected);

    for (const QString& name : expected) {
        const QByteArray a = readAll(path(name));
        const QByteArray b = readAll(QDir(second).filePath(name));
        EXPECT_FALSE(a.isEmpty()) << name.toStdString();
        EXPECT_TRUE(a == b) << name.toStdString() << " differs between runs";
    }
}

TEST_F(MediaTest, DrawsAContactSheet)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sheet = QDir(dir.path()).filePath("sheet.png");
    ASSERT_EQ(runTool({"--contact-sheet", sheet}), 0);
    const QImage img(sheet);
    // Holds the backgrounds at twice their size.
    EXPECT_GE(img.width(), 2 * 480);
    EXPECT_GE(img.height(), 2 * 300);
}

TEST_F(MediaTest, RejectsBadArguments)
{
    EXPECT_NE(runTool({}), 0);
    EXPECT_NE(runTool({"a", "b"}), 0);
}

TEST_F(MediaTest, PicturesLoadWithTheSizesTheGameDrawsThemAt)
{
    for (int i = 0; i < 5; ++i) {
        const QString name = QStringLiteral("Back%1Pict.png").arg(i);
        EXPECT_EQ(image(name).size(), QSize(480, 300)) << name.toStdString();
    }
    EXPECT_EQ(image("MarkerPict.png").size(), QSize(16, 64));
    EXPECT_EQ(image("IconPict.png").size(), QSize(32, 32));
    EXPECT_EQ(image("TamberlynPict.png").size(), QSize(32, 32));
    for (const QString name : {"HitPict.png", "NearPict.png"}) {
        const QImage img = image(name);
        ASSERT_FALSE(img.isNull()) << name.toStdString();
        EXPECT_LE(img.width(), 180) << name.toStdString();
        EXPECT_LE(img.height(), 90) << name.toStdString();
    }
    const QImage target = image("TargetSystemPict.png");
    EXPECT_GE(target.width(), 16);
    EXPECT_GE(target.height(), 40);
}

TEST_F(MediaTest, BackgroundsStayPaleWithACalmTopStrip)
{
    // Red and blue markers, the green line and black text go on top.
    for (int i = 0; i < 5; ++i) {
        const QString name = QStringLiteral("Back%1Pict.png").arg(i);
        const QImage img = image(name);
        ASSERT_FALSE(img.isNull());
        double darkest = 255.0;
        double topSum = 0.0, topSquares = 0.0, topDarkest = 255.0;
        int topCount = 0;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const double l = luminance(img.pixel(x, y));
                darkest = std::min(darkest, l);
                if (y < 20) {
                    topDarkest = std::min(topDarkest, l);
                    topSum += l;
                    topSquares += l * l;
                    ++topCount;
                }
            }
        }
        const double topMean = topSum / topCount;
        const double topSpread = std::sqrt(topSquares / topCount - topMean * topMean);
        EXPECT_GE(darkest, 205.0) << name.toStdString();
        EXPECT_GE(topDarkest, 225.0) << name.toStdString() << " title strip too dark";
        EXPECT_LE(topSpread, 6.0) << name.toStdString() << " title strip too busy";
    }
    EXPECT_NE(image("Back0Pict.png"), image("Back1Pict.png"));
}

TEST_F(MediaTest, MarkersAreCentredOnKeyWhiteInTheRightColours)
{
    const QImage markers = image("MarkerPict.png").convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(markers.size(), QSize(16, 64));
    for (int k = 0; k < 4; ++k) {
        const int top = 16 * k;
        for (const QPoint corner : {QPoint(0, 0), QPoint(15, 0), QPoint(0, 15), QPoint(15, 15)})
            EXPECT_EQ(markers.pixel(corner + QPoint(0, top)), kKeyWhite) << "cell " << k;
        EXPECT_NE(markers.pixel(7, top + 7), kKeyWhite) << "cell " << k;
        // Symmetric about (7, 7): the game centres markers on that pixel.
        for (int d = 1; d <= 7; ++d) {
            EXPECT_EQ(markers.pixel(7 - d, top + 7) == kKeyWhite, markers.pixel(7 + d, top + 7) == kKeyWhite)
                << "cell " << k << " row offset " << d;
            EXPECT_EQ(markers.pixel(7, top + 7 - d) == kKeyWhite, markers.pixel(7, top + 7 + d) == kKeyWhite)
                << "cell " << k << " column offset " << d;
        }
    }
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(enclosedKeyWhite(markers, QRect(0, 16 * k, 16, 16)), 0) << "see-through hole in cell " << k;
    // Cell order matters: 0 red, 1 blue, 2 green midpoint, 3 dark guess.
    const QColor red = markers.pixelColor(8, 8);
    const QColor blue = markers.pixelColor(8, 16 + 8);
    EXPECT_GT(red.red(), red.blue() + 80);
    EXPECT_GT(blue.blue(), blue.red() + 80);
    EXPECT_GT(markers.pixelColor(7, 32 + 7).green(), markers.pixelColor(7, 32 + 7).red());
    EXPECT_LT(luminance(markers.pixel(7, 48 + 7)), 80.0);
}

TEST_F(MediaTest, LetteringIsSolidWithNoPaleFringe)
{
    // Only exact white is keyed out, so a near-white edge pixel would show
    // as a dirty halo over the coloured backgrounds.
    for (const QString name : {"HitPict.png", "NearPict.png"}) {
        const QImage img = image(name);
        ASSERT_FALSE(img.isNull());
        int ink = 0;
        int pale = 0;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const QRgb p = img.pixel(x, y);
                if (p == kKeyWhite)
                    continue;
                ++ink;
                if (luminance(p) > 235.0)
                    ++pale;
            }
        }
        EXPECT_GT(ink, img.width() * img.height() / 5) << name.toStdString();
        EXPECT_EQ(pale, 0) << name.toStdString();
        // The border must be key white so the picture has no visible frame.
        EXPECT_EQ(img.pixel(0, 0), kKeyWhite) << name.toStdString();
        EXPECT_EQ(img.pixel(img.width() - 1, img.height() - 1), kKeyWhite) << name.toStdString();
    }
}

TEST_F(MediaTest, IconFacesDifferAndTargetBadgeIsDrawn)
{
    const QImage icon = image("IconPict.png");
    const QImage other = image("TamberlynPict.png");
    EXPECT_NE(icon, other);
    EXPECT_EQ(enclosedKeyWhite(icon, icon.rect()), 0);
    EXPECT_EQ(enclosedKeyWhite(other, other.rect()), 0);

    const QImage target = image("TargetSystemPict.png");
    ASSERT_GE(target.height(), 40);
    int inkInLastCell = 0;
    for (int y = 32; y < 40; ++y) {
        for (int x = 0; x < 16; ++x)
            inkInLastCell += target.pixel(x, y) != kKeyWhite;
    }
    EXPECT_GT(inkInLastCell, 16 * 8 / 2);
    EXPECT_NE(target.copy(0, 0, 16, 8), target.copy(0, 32, 16, 8));
}

TEST_F(MediaTest, DesktopIconsAreTheGamesIconOnATransparentGround)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_EQ(runTool({"--desktop-icons", dir.path()}), 0);
    const QImage game = image("IconPict.png");
    for (int size : {32, 48, 64, 128, 256}) {
        const QImage icon(QStringLiteral("%1/hicolor/%2x%2/apps/horomine.png").arg(dir.path()).arg(size));
        ASSERT_EQ(icon.size(), QSize(size, size)) << size;
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << size;
    }
    const QImage small(dir.path() + "/hicolor/32x32/apps/horomine.png");
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(small.pixel(x, y), game.pixel(x, y) == kKeyWhite ? 0u : game.pixel(x, y)) << x << "," << y;
}

// --- WAV ---------------------------------------------------------------

struct Wav {
    int format = 0;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::vector<std::int16_t> samples;
};

std::uint32_t le(const QByteArray& b, qsizetype at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

std::optional<Wav> parseWav(const QByteArray& b)
{
    if (b.size() < 12 || b.left(4) != "RIFF" || b.mid(8, 4) != "WAVE")
        return std::nullopt;
    if (le(b, 4, 4) + 8 != static_cast<std::uint32_t>(b.size()))
        return std::nullopt;
    Wav wav;
    bool haveFormat = false;
    bool haveData = false;
    qsizetype at = 12;
    while (at + 8 <= b.size()) {
        const QByteArray id = b.mid(at, 4);
        const qsizetype size = le(b, at + 4, 4);
        const qsizetype body = at + 8;
        if (body + size > b.size())
            return std::nullopt;
        if (id == "fmt " && size >= 16) {
            wav.format = static_cast<int>(le(b, body, 2));
            wav.channels = static_cast<int>(le(b, body + 2, 2));
            wav.sampleRate = static_cast<int>(le(b, body + 4, 4));
            wav.bitsPerSample = static_cast<int>(le(b, body + 14, 2));
            haveFormat = true;
        } else if (id == "data") {
            for (qsizetype i = 0; i + 1 < size; i += 2)
                wav.samples.push_back(static_cast<std::int16_t>(le(b, body + i, 2)));
            haveData = true;
        }
        at = body + size + (size & 1);
    }
    if (!haveFormat || !haveData)
        return std::nullopt;
    return wav;
}

int peakOf(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to)
{
    int peak = 0;
    for (std::size_t i = from; i < to && i < s.size(); ++i)
        peak = std::max(peak, std::abs(static_cast<int>(s[i])));
    return peak;
}

TEST_F(MediaTest, SoundsAreShortCleanPcmWithSoftEdges)
{
    for (const QString& name : kSounds) {
        SCOPED_TRACE(name.toStdString());
        const auto wav = parseWav(readAll(path(name)));
        ASSERT_TRUE(wav.has_value());
        EXPECT_EQ(wav->format, 1);
        EXPECT_EQ(wav->channels, 1);
        EXPECT_EQ(wav->sampleRate, 44100);
        EXPECT_EQ(wav->bitsPerSample, 16);

        const auto& s = wav->samples;
        EXPECT_GT(s.size(), 44100u / 20);
        EXPECT_LT(s.size(), 44100u);

        // Peak about -3 dBFS: loud enough, with headroom.
        const int peak = peakOf(s, 0, s.size());
        EXPECT_GT(peak, 32768 / 2);
        EXPECT_LT(peak, 29205); // -1 dBFS

        // No click: start and end at silence and fade over several ms. An
        // unfaded tone would reach most of its peak within the first ms.
        const std::size_t ms = 44;
        EXPECT_LT(std::abs(s.front()), 64);
        EXPECT_LT(std::abs(s.back()), 64);
        EXPECT_LT(peakOf(s, 0, ms), peak / 10) << "abrupt start";
        EXPECT_LT(peakOf(s, s.size() - ms, s.size()), peak / 10) << "abrupt end";
    }
}

TEST_F(MediaTest, VolumeBlipHoldsASteadyLevel)
{
    // The volume control is judged by this sound's loudness, so its middle
    // must be a flat sustain rather than a decay.
    const auto wav = parseWav(readAll(path("SoundVolSnd.wav")));
    ASSERT_TRUE(wav.has_value());
    const auto& s = wav->samples;
    const std::size_t window = 441; // 10 ms
    std::vector<int> peaks;
    for (std::size_t at = s.size() / 4; at + window <= s.size() * 3 / 4; at += window)
        peaks.push_back(peakOf(s, at, at + window));
    ASSERT_GE(peaks.size(), 3u);
    const auto [lo, hi] = std::minmax_element(peaks.begin(), peaks.end());
    EXPECT_LT(*hi - *lo, *hi / 50);
    EXPECT_EQ(*hi, peakOf(s, 0, s.size()));
}

// --- Resource file -------------------------------------------------------

std::uint32_t be(const QByteArray& b, qsizetype at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

struct Resource {
    std::string type;
    int id;
    std::string name;
    QByteArray data;
};

// Walks header -> map -> type list -> reference lists the way the classic
// Resource Manager does, failing the test on any inconsistency.
std::vector<Resource> parseResourceFile(const QByteArray& f)
{
    std::vector<Resource> out;
    EXPECT_GE(f.size(), 16);
    if (f.size() < 16)
        return out;
    const std::uint32_t dataOffset = be(f, 0, 4);
    const std::uint32_t mapOffset = be(f, 4, 4);
    const std::uint32_t dataLength = be(f, 8, 4);
    const std::uint32_t mapLength = be(f, 12, 4);
    EXPECT_EQ(dataOffset, 256u);
    EXPECT_EQ(static_cast<qsizetype>(mapOffset) + mapLength, f.size());
    EXPECT_LE(dataOffset + dataLength, mapOffset);
    if (static_cast<qsizetype>(mapOffset) + mapLength > f.size() || mapLength < 30)
        return out;

    const QByteArray map = f.mid(mapOffset, mapLength);
    EXPECT_EQ(map.left(16), f.left(16)) << "map must start with a copy of the header";
    const std::uint32_t typeListOffset = be(map, 24, 2);
    const std::uint32_t nameListOffset = be(map, 26, 2);
    EXPECT_LE(nameListOffset, mapLength);

    const qsizetype typeList = typeListOffset;
    const int typeCount = static_cast<std::int16_t>(be(map, typeList, 2)) + 1;
    for (int t = 0; t < typeCount; ++t) {
        const qsizetype entry = typeList + 2 + 8 * t;
        const std::string type = map.mid(entry, 4).toStdString();
        const int count = static_cast<int>(be(map, entry + 4, 2)) + 1;
        const qsizetype refs = typeList + be(map, entry + 6, 2);
        for (int r = 0; r < count; ++r) {
            const qsizetype ref = refs + 12 * r;
            if (ref + 12 > map.size()) {
                ADD_FAILURE() << "reference list runs past the map";
                return out;
            }
            Resource res;
            res.type = type;
            res.id = static_cast<std::int16_t>(be(map, ref, 2));
            const auto nameOffset = static_cast<std::int16_t>(be(map, ref + 2, 2));
            if (nameOffset >= 0) {
                const qsizetype at = nameListOffset + nameOffset;
                res.name = map.mid(at + 1, static_cast<std::uint8_t>(map[at])).toStdString();
            }
            const qsizetype at = dataOffset + be(map, ref + 5, 3);
            const qsizetype length = be(f, at, 4);
            EXPECT_LE(at + 4 + length, static_cast<qsizetype>(dataOffset + dataLength));
            res.data = f.mid(at + 4, length);
            out.push_back(res);
        }
    }
    return out;
}

TEST_F(MediaTest, ResourceFileHoldsTheTwoCursors)
{
    const auto resources = parseResourceFile(readAll(path(kResourceFile)));
    ASSERT_EQ(resources.size(), 2u);

    std::map<int, const Resource*> byId;
    for (const Resource& r : resources) {
        EXPECT_EQ(r.type, "CURS");
        byId[r.id] = &r;
    }
    ASSERT_TRUE(byId.count(168) && byId.count(169));
    EXPECT_EQ(byId[168]->name, "PointCursor");
    EXPECT_EQ(byId[169]->name, "StartCursor");

    for (const auto& [id, res] : byId) {
        SCOPED_TRACE(id);
        const QByteArray& d = res->data;
        ASSERT_EQ(d.size(), 68);
        const int v = static_cast<std::int16_t>(be(d, 64, 2));
        const int h = static_cast<std::int16_t>(be(d, 66, 2));
        EXPECT_TRUE(v >= 0 && v <= 15 && h >= 0 && h <= 15) << v << "," << h;
        int black = 0;
        for (int row = 0; row < 16; ++row) {
            const std::uint32_t image = be(d, 2 * row, 2);
            const std::uint32_t mask = be(d, 32 + 2 * row, 2);
            // A black pixel outside the mask would invert the screen instead.
            EXPECT_EQ(image & ~mask, 0u) << "row " << row;
            black += __builtin_popcount(image);
        }
        EXPECT_GT(black, 8);
        // The hot spot must land on the visible cursor.
        EXPECT_TRUE((be(d, 32 + 2 * v, 2) >> (15 - h)) & 1u);
    }
    // Aiming crosshair: hot spot at its centre.
    const QByteArray& point = byId[168]->data;
    const int v = static_cast<int>(be(point, 64, 2));
    const int h = static_cast<int>(be(point, 66, 2));
    EXPECT_TRUE((v == 7 && h == 7) || (v == 8 && h == 8));
}

} // namespace
