#include "common/MediaFiles.h"
#include "common/TestSupport.h"

#include <framework/FolderItem.h>
#include <framework/MouseCursor.h>
#include <framework/ResourceFork.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <random>

using namespace fw;
using test::CursorData;
using test::Resource;
using test::ResourceFileBytes;

namespace {

// A crosshair whose hot spot is its centre (7, 7) and an arrow pointing at
// its top left corner.
const uint16_t kCrossImage[16] = { 0x0100, 0x0100, 0x0100, 0x0100, 0x0100, 0x0100, 0x0000, 0xFC7E, 0x0000, 0x0100,
    0x0100, 0x0100, 0x0100, 0x0100, 0x0100, 0x0000 };
const uint16_t kCrossMask[16] = { 0x0380, 0x0380, 0x0380, 0x0380, 0x0380, 0x0380, 0xFFFE, 0xFFFE, 0xFFFE, 0x0380,
    0x0380, 0x0380, 0x0380, 0x0380, 0x0380, 0x0000 };
const uint16_t kArrowImage[16] = { 0x0000, 0x4000, 0x6000, 0x7000, 0x7800, 0x7C00, 0x7E00, 0x7F00, 0x7F80, 0x7C00,
    0x6C00, 0x4600, 0x0600, 0x0300, 0x0300, 0x0000 };
const uint16_t kArrowMask[16] = { 0xC000, 0xE000, 0xF000, 0xF800, 0xFC00, 0xFE00, 0xFF00, 0xFF80, 0xFFC0, 0xFFE0,
    0xFE00, 0xEF00, 0xCF00, 0x0780, 0x0780, 0x0380 };

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

std::string GoodFile()
{
    return ResourceFileBytes({
        { "CURS", 168, CursorData(kCrossImage, kCrossMask, 7, 7) },
        { "vers", 1, std::string("\x01\x00\x80\x00", 4) },
        { "CURS", 169, CursorData(kArrowImage, kArrowMask, 1, 2) },
        { "CURS", -5, CursorData(kArrowImage, kArrowMask, 0, 0) },
    });
}

void PutBe32(std::string& s, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + static_cast<size_t>(i)] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
}
void PutBe16(std::string& s, size_t at, uint16_t v)
{
    s[at] = static_cast<char>(v >> 8);
    s[at + 1] = static_cast<char>(v & 0xFF);
}
uint32_t Be32(const std::string& s, size_t at)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<size_t>(i)]);
    return v;
}

} // namespace

TEST(ResourceFork, CursorsComeWithTheirImageMaskAndHotSpot)
{
    Ref<ResourceFork> fork = ResourceFork::FromBytes(Bytes(GoodFile()));
    ASSERT_TRUE(fork);
    EXPECT_EQ(fork->ResourceCount(), 4);

    Ref<MouseCursor> cross = fork->GetCursor(168);
    ASSERT_TRUE(cross);
    EXPECT_EQ(cross->HotSpotX(), 7);
    EXPECT_EQ(cross->HotSpotY(), 7);
    EXPECT_TRUE(cross->ImagePixel(7, 0)) << "the vertical bar";
    EXPECT_FALSE(cross->ImagePixel(7, 7)) << "a gap at the centre";
    EXPECT_TRUE(cross->MaskPixel(7, 7));
    EXPECT_TRUE(cross->MaskPixel(6, 0)) << "a white rim beside the bar";
    EXPECT_FALSE(cross->ImagePixel(6, 0));
    EXPECT_FALSE(cross->MaskPixel(0, 0)) << "transparent elsewhere";
    EXPECT_FALSE(cross->MaskPixel(15, 15));

    // The hot spot is stored vertical first.
    Ref<MouseCursor> arrow = fork->GetCursor(169);
    ASSERT_TRUE(arrow);
    EXPECT_EQ(arrow->HotSpotX(), 2);
    EXPECT_EQ(arrow->HotSpotY(), 1);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(arrow->ImagePixel(x, y), ((kArrowImage[y] >> (15 - x)) & 1) != 0) << x << "," << y;
            EXPECT_EQ(arrow->MaskPixel(x, y), ((kArrowMask[y] >> (15 - x)) & 1) != 0) << x << "," << y;
        }

    EXPECT_TRUE(fork->GetCursor(-5)) << "IDs are signed";
    EXPECT_FALSE(fork->GetCursor(170));
    EXPECT_FALSE(fork->GetCursor(1)) << "a resource of another type is no cursor";
    auto vers = fork->ResourceData("vers", 1);
    ASSERT_TRUE(vers);
    EXPECT_EQ(*vers, Bytes(std::string("\x01\x00\x80\x00", 4)));
}

TEST(ResourceFork, OpensOnlyReadableRegularFiles)
{
    const auto dir = test::Home() / "rsrc";
    std::filesystem::create_directories(dir / "folder.rsrc");
    test::WriteFile(dir / "good.rsrc", GoodFile());
    test::WriteFile(dir / "empty.rsrc", "");
    ASSERT_EQ(mkfifo((dir / "fifo.rsrc").c_str(), 0600), 0);
    auto item = [&](const char* name) { return New<FolderItem>((dir / name).string()); };

    Ref<ResourceFork> good = ResourceFork::Open(item("good.rsrc"));
    ASSERT_TRUE(good);
    EXPECT_TRUE(good->GetCursor(168));
    EXPECT_FALSE(ResourceFork::Open(item("missing.rsrc")));
    EXPECT_FALSE(ResourceFork::Open(item("empty.rsrc")));
    EXPECT_FALSE(ResourceFork::Open(item("folder.rsrc")));
    EXPECT_FALSE(ResourceFork::Open(item("fifo.rsrc"))) << "and does not wait for a writer";
    EXPECT_FALSE(ResourceFork::Open(nullptr));
}

TEST(ResourceFork, EveryTruncationIsRefused)
{
    const std::string good = GoodFile();
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(ResourceFork::FromBytes(Bytes(good.substr(0, n)))) << "cut to " << n << " bytes";
}

TEST(ResourceFork, MalformedOffsetsAndLengthsAreRefused)
{
    const std::string good = GoodFile();
    const size_t mapOffset = Be32(good, 4);
    const size_t typeList = mapOffset + 28;
    const size_t dataOffset = Be32(good, 0);
    auto refused = [](std::string bytes) { return !ResourceFork::FromBytes(Bytes(bytes)); };
    auto with32 = [&](size_t at, uint32_t v) {
        std::string s = good;
        PutBe32(s, at, v);
        return s;
    };
    auto with16 = [&](size_t at, uint16_t v) {
        std::string s = good;
        PutBe16(s, at, v);
        return s;
    };

    EXPECT_TRUE(refused(with32(0, 0xFFFFFF00))) << "data area beyond the file";
    EXPECT_TRUE(refused(with32(8, static_cast<uint32_t>(good.size())))) << "data length beyond the file";
    EXPECT_TRUE(refused(with32(4, 0xFFFFFFF0))) << "map beyond the file";
    EXPECT_TRUE(refused(with32(12, 0xFFFFFFFF))) << "map length wraps";
    EXPECT_TRUE(refused(with32(12, 29))) << "map too short for its header";
    EXPECT_TRUE(refused(with16(mapOffset + 24, 0xFFF0))) << "type list outside the map";
    EXPECT_TRUE(refused(with16(mapOffset + 26, 0xFFF0))) << "name list outside the map";
    EXPECT_TRUE(refused(with16(typeList, 200))) << "more types than the map holds";
    EXPECT_TRUE(refused(with16(typeList + 2 + 4, 0x0FFF))) << "more references than the map holds";
    EXPECT_TRUE(refused(with16(typeList + 2 + 6, 0xFFF0))) << "reference list outside the map";
    // The first reference of the first type: its data offset, then the
    // length word that the offset leads to.
    const size_t firstRef = typeList + 2 + 8 * 2;
    std::string s = good;
    s[firstRef + 5] = '\x7F';
    EXPECT_TRUE(refused(s)) << "data offset beyond the data area";
    EXPECT_TRUE(refused(with32(dataOffset, 0xFFFFFFFF))) << "data length beyond the data area";
    EXPECT_TRUE(refused(with32(dataOffset, Be32(good, 8) - 3))) << "one byte past the data area";
    EXPECT_FALSE(refused(with32(dataOffset, Be32(good, 8) - 4))) << "up to its very end";

    // Both types pointing at one reference list would multiply its entries.
    std::string shared = good;
    PutBe16(shared, typeList + 2 + 8 + 4, 2);
    PutBe16(shared, typeList + 2 + 8 + 6, static_cast<uint16_t>(2 + 8 * 2));
    EXPECT_TRUE(refused(shared));

    // No types at all is a well-formed, empty file.
    Ref<ResourceFork> empty = ResourceFork::FromBytes(Bytes(with16(typeList, 0xFFFF)));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->ResourceCount(), 0);
    EXPECT_FALSE(empty->GetCursor(168));
}

TEST(ResourceFork, ACursorResourceMustHoldACursor)
{
    std::string cross = CursorData(kCrossImage, kCrossMask, 7, 7);
    std::string file = ResourceFileBytes({
        { "CURS", 1, cross.substr(0, 67) },
        { "CURS", 2, CursorData(kCrossImage, kCrossMask, 16, 0) },
        { "CURS", 3, CursorData(kCrossImage, kCrossMask, 0, -1) },
        { "CURS", 4, cross + "extra" },
        { "CURS", 5, "" },
    });
    Ref<ResourceFork> fork = ResourceFork::FromBytes(Bytes(file));
    ASSERT_TRUE(fork);
    EXPECT_FALSE(fork->GetCursor(1)) << "one byte short";
    EXPECT_FALSE(fork->GetCursor(2)) << "hot spot below the image";
    EXPECT_FALSE(fork->GetCursor(3)) << "hot spot left of the image";
    EXPECT_TRUE(fork->GetCursor(4)) << "trailing bytes are ignored";
    EXPECT_FALSE(fork->GetCursor(5));
}

// Random damage must never lead to a read outside the file (run under a
// memory checker to see it) nor to resource data that reaches past it.
TEST(ResourceFork, RandomDamageNeverReadsOutsideTheFile)
{
    const std::string good = GoodFile();
    std::mt19937 rng(20111222);
    int accepted = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string s = good;
        int hits = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < hits; ++i) {
            // Mostly in the header and the map, where the offsets live.
            size_t at = (rng() % 3 == 0) ? rng() % 16 : Be32(good, 4) + rng() % (good.size() - Be32(good, 4));
            s[at] = static_cast<char>(rng() % 3 == 0 ? 0xFF : rng() & 0xFF);
        }
        if (rng() % 5 == 0)
            s.resize(rng() % s.size());
        Ref<ResourceFork> fork = ResourceFork::FromBytes(Bytes(s));
        if (!fork)
            continue;
        ++accepted;
        for (int id : { 168, 169, -5 }) {
            if (auto data = fork->ResourceData("CURS", id)) {
                EXPECT_LE(data->size(), s.size());
            }
            fork->GetCursor(id);
        }
    }
    EXPECT_GT(accepted, 0) << "some damage is harmless and must still read";
}
