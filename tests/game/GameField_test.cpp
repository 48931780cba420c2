#include "common/MediaFiles.h"
#include "common/TemporaryBundle.h"
#include "common/TestSupport.h"

#include <game/Appl.h>
#include <game/CursorResources.h>
#include <game/GameField.h>
#include <game/SoundResources.h>

#include <prefs/ApplPreferences.h>
#include <sound/SoundPlayer.h>

#include <framework/Dispatch.h>
#include <framework/Numbers.h>

#include <gtest/gtest.h>

#include <deque>

using namespace fw;
using test::PixelAt;

namespace {

// The field's state open to the test; GameStart places markers at the
// coordinates in `draws` while it holds any.
class Field : public GameField {
public:
    std::deque<int32_t> draws;
    double MarkerRnd() override
    {
        if (draws.empty())
            return GameField::MarkerRnd();
        int32_t v = draws.front(), odd = v % 2;
        draws.pop_front();
        return (v - (odd ? 25 : 10)) / 2 / (odd ? 133.0 : 230.0) + 1e-9;
    }
    using GameField::CenterX, GameField::CenterY, GameField::GameAvail, GameField::GameStart,
        GameField::OffscreenPicture, GameField::Point1X, GameField::Point1Y,
        GameField::Point2X, GameField::Point2Y, GameField::PointDiffer, GameField::ResultAvail,
        GameField::ResultPosition, GameField::ResultX;
};

// Stands in for the audio device: notes what the field plays.
struct Journal : SoundPlayer {
    std::vector<Ref<Sound>> played;
    void Play(const Ref<Sound>& s) override { played.push_back(s), SoundPlayer::Play(s); }
};
Ref<Journal> player;

constexpr uint32_t kBack[5] = { 0x102030, 0x304050, 0x506070, 0x708090, 0x90A0B0 };
constexpr uint32_t kCell[4] = { 0xE00000, 0x0000E0, 0x00E000, 0xE0E000 }, kCellPoint = 0xFF00FF;
constexpr uint32_t kHit = 0xC04000, kNear = 0x4000C0;

// Plain backgrounds, marker cells whose point has a colour of its own,
// 40 x 30 result pictures, the sounds (or empty files) and the real cursors.
void PutMedia(bool sounds)
{
    const auto res = test::BundleResources();
    for (int k = 0; k < 5; ++k)
        test::WritePng(res / ("Back" + std::to_string(k) + "Pict.png"), 480, 300, [k](int, int) { return kBack[k]; });
    test::WritePng(res / "MarkerPict.png", 16, 64,
        [](int x, int y) { return x == 7 && y % 16 == 7 ? kCellPoint : kCell[y / 16]; });
    test::WritePng(res / "HitPict.png", 40, 30, [](int, int) { return kHit; });
    test::WritePng(res / "NearPict.png", 40, 30, [](int, int) { return kNear; });
    for (const char* name : { "HitSnd.wav", "NearSnd.wav", "OutSnd.wav" })
        test::WriteFile(res / name, sounds ? test::WavBytes() : "");
    std::filesystem::copy_file(HOROMINE_BUNDLE_DIR "/Resources/horomine.rsrc", res / "horomine.rsrc");
}

// The field as the main window opens it, on settings holding `settings`.
Ref<Field> OpenField(const std::string& settings)
{
    auto app = New<Appl>();
    app->ItsPrefs = New<ApplPreferences>("ほろみねの設定", "HRMN");
    app->ItsPrefs->SetData(settings);
    app->ItsSoundPlayer = player = New<Journal>();
    RuntimeRegisterAppObject(app);
    auto f = New<Field>();
    f->Width(480), f->Height(300), f->Event_Open(), f->CreateOffscreen(32, true);
    return f;
}

// The right edge of the black text in the top right corner, or -1.
int32_t TextRightEdge(const Ref<Field>& f)
{
    for (int32_t x = 479; x > 240; --x)
        for (int32_t y = 0; y < 20; ++y)
            if (PixelAt(f->OffscreenPicture, x, y) == 0)
                return x + 1;
    return -1;
}

} // namespace

TEST(GameField, MarkersAreEvenOddInRangeAndMoreThan40Apart)
{
    auto f = OpenField("11");
    RndSeed(7);
    for (int i = 0; i < 3000; ++i) {
        f->GameStart();
        int32_t x1 = f->Point1X, y1 = f->Point1Y, x2 = f->Point2X, y2 = f->Point2Y;
        ASSERT_TRUE(x1 % 2 == 0 && x2 % 2 == 0 && std::min(x1, x2) >= 10 && std::max(x1, x2) <= 468);
        ASSERT_TRUE(y1 % 2 == 1 && y2 % 2 == 1 && std::min(y1, y2) >= 25 && std::max(y1, y2) <= 289);
        ASSERT_GT((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2), 1600);
    }
    // Exactly 40 apart draws all four again; 42 is kept.
    f->draws = { 100, 101, 124, 133, 100, 101, 100, 141, 100, 101, 100, 143 };
    f->GameStart();
    EXPECT_EQ(std::vector<int32_t>({ f->Point1X, f->Point1Y, f->Point2X, f->Point2Y, f->CenterX, f->CenterY }),
        std::vector<int32_t>({ 100, 101, 100, 143, 100, 122 }));
}

TEST(GameField, JudgesTheGuessWithItsSoundAndShowsTheResult)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    PutMedia(true);
    struct Case {
        int32_t dx, dy, error;
        Ref<Sound> (*sound)();
        uint32_t picture;
    };
    // Markers (100, 101) and (200, 201): midpoint (150, 151), picture at (290, 50).
    for (const Case& c : { Case { 0, 0, 0, HitSnd, kHit }, Case { 3, 4, 5, NearSnd, kNear },
             Case { 4, 4, 5, NearSnd, kNear }, Case { 6, 0, 6, OutSnd, kBack[1] },
             Case { 5, 4, 6, OutSnd, kBack[1] } }) {
        auto f = OpenField("11");
        auto px = [pic = f->OffscreenPicture](int32_t x, int32_t y) { return PixelAt(pic, x, y); };
        f->draws = { 100, 101, 200, 201 };
        f->Event_MouseDown(1, 1);
        EXPECT_TRUE(f->MouseCursor() == PointCursor() && px(100, 101) == kCellPoint && px(200, 201) == kCellPoint);
        EXPECT_FALSE(f->Event_MouseDown(150 + c.dx, 151 + c.dy));
        EXPECT_TRUE(f->PointDiffer == c.error && !f->GameAvail && f->ResultAvail && f->ResultX == 150 + c.dx);
        EXPECT_TRUE(player->played == std::vector<Ref<Sound>> { c.sound() } && f->MouseCursor() == StartCursor());
        // The green line over cells 0 and 1, cells 2 and 3 over it.
        EXPECT_TRUE(px(100, 101) == 0x339933 && px(93, 94) == kCell[0] && px(208, 209) == kCell[1]);
        EXPECT_TRUE(px(143, 144) == (c.dx ? kCell[2] : kCell[3]) && px(150 + c.dx, 151 + c.dy) == kCellPoint);
        EXPECT_TRUE(px(290, 50) == c.picture && px(289, 50) == kBack[1]);
        EXPECT_NEAR(TextRightEdge(f), 475, 1);
        f->Event_MouseDown(0, 0);
        EXPECT_TRUE(f->GameAvail && !f->ResultAvail && TextRightEdge(f) == -1) << "the next turn at once";
    }
}

TEST(GameField, BackgroundsAndFailures)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    PutMedia(false);
    for (auto [settings, index, colour] :
        { std::tuple { "13", 3, kBack[3] }, std::tuple { "17", 7, kBack[0] }, std::tuple { "1x", 0, kBack[0] } }) {
        auto f = OpenField(settings);
        EXPECT_TRUE(f->RefBack() == index && PixelAt(f->OffscreenPicture, 240, 150) == colour) << settings;
        EXPECT_GT(test::CountColor(f->OffscreenPicture, 0, 5, 0, 120, 20), 40) << "the prompt";
        EXPECT_EQ(App()->ItsPrefs->GetData(), settings);
    }
    // SetBack: no range check, the last digit stored, the turn and cursor kept.
    auto f = OpenField("12");
    f->Event_MouseDown(0, 0);
    for (auto [index, colour, digit] :
        { std::tuple { 4, kBack[4], "4" }, std::tuple { 7, kBack[0], "7" }, std::tuple { -1, kBack[0], "1" } }) {
        f->SetBack(index);
        EXPECT_TRUE(f->RefBack() == index && PixelAt(f->OffscreenPicture, 479, 299) == colour);
        EXPECT_TRUE(App()->ItsPrefs->GetPartData(2, 1) == digit && f->GameAvail && f->MouseCursor() == PointCursor());
    }
    // No sound: the turn ends silently, its result drawn.
    EXPECT_TRUE(Dispatch([&] { f->Event_MouseDown(f->CenterX + 3, f->CenterY + 4); }));
    EXPECT_TRUE(f->PointDiffer == 5 && f->ResultAvail && !f->GameAvail && TextRightEdge(f) != -1);
    // No offscreen picture: the new turn is stored, the cursor not set.
    auto bare = New<Field>();
    EXPECT_THROW(bare->GameStart(), NilObjectException);
    EXPECT_TRUE(bare->GameAvail && !bare->MouseCursor());
}

TEST(GameField, ResultPositionIsDiagonallyOppositeTheFoot)
{
    auto f = New<Field>();
    // The worked examples, a vertical line through the centre, and lines
    // through the exact centre of positive and negative slope.
    for (auto [x1, y1, x2, y2, q] : std::vector<std::array<int32_t, 5>> { { 340, 31, 360, 151, 2 },
             { 100, 181, 200, 101, 3 }, { 300, 271, 400, 221, 1 }, { 110, 161, 130, 281, 0 }, { 300, 25, 300, 101, 2 },
             { 100, 201, 200, 201, 0 }, { 240, 101, 240, 201, 0 }, { 238, 149, 242, 151, 2 }, { 238, 151, 242, 149, 0 } }) {
        f->Point1X = x1, f->Point1Y = y1, f->Point2X = x2, f->Point2Y = y2;
        f->CenterX = (x1 + x2) / 2, f->CenterY = (y1 + y2) / 2;
        EXPECT_EQ(f->ResultPosition(), q) << x1 << "," << y1 << " " << x2 << "," << y2;
    }
}
