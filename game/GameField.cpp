#include "game/GameField.h"

#include "game/Appl.h"
#include "game/CursorResources.h"
#include "game/PictureResources.h"
#include "game/SoundResources.h"
#include "prefs/ApplPreferences.h"
#include "sound/SoundPlayer.h"

#include <framework/Numbers.h>
#include <framework/Runtime.h>
#include <framework/Text.h>

using namespace fw;

namespace {

constexpr int32_t kCentreX = 240;
constexpr int32_t kCentreY = 150;
constexpr int32_t kBackByte = 2;
// Markers stay more than this far apart.
constexpr double kMinMarkerDistance = 40.0;
// Errors below this are near (0 is a hit) and get a picture.
constexpr int32_t kNearLimit = 6;
constexpr int32_t kTextY = 14;
constexpr int32_t kPromptX = 5;
constexpr int32_t kRightMargin = 5;

// MarkerPict is a column of 16 x 16 cells; a cell's pixel (7, 7) falls on
// its point.
constexpr int32_t kCell = 16;
constexpr int32_t kCellCentre = 7;
enum MarkerCell : int32_t { kFirstMarker = 0, kSecondMarker = 1, kMidpoint = 2, kGuess = 3 };

struct Corner {
    int32_t x, y;
};
// The result picture's top left corner in each quadrant.
constexpr Corner kQuadrantCorner[4] = { { 290, 50 }, { 50, 50 }, { 50, 200 }, { 290, 200 } };

const char kPromptGuess[] = "ほろみねはどこだ？";
const char kPromptPress[] = "クリックしてください";
const char kErrorLabel[] = "誤差＝";

Ref<Picture> Background(int32_t index)
{
    switch (index) {
    case 1: return Back1Pict();
    case 2: return Back2Pict();
    case 3: return Back3Pict();
    case 4: return Back4Pict();
    default: return Back0Pict();
    }
}

void DrawCell(Graphics& g, int32_t cell, int32_t px, int32_t py)
{
    g.DrawPicture(MarkerPict(), px - kCellCentre, py - kCellCentre, kCell, kCell, 0, kCell * cell, kCell, kCell);
}

// An even x in 10..468 or an odd y in 25..289 from one draw in [0, 1).
int32_t MarkerX(double r) { return ToInt32(10.0 + Floor(r * 230.0) * 2.0); }
int32_t MarkerY(double r) { return ToInt32(25.0 + Floor(r * 133.0) * 2.0); }

double Square(double v) { return Pow(v, 2); }

} // namespace

const ClassRecord& GameField::Record()
{
    static const ClassRecord record { "GameField", &OffscreenCanvas::Record(),
        {
            Property("GameAvail", &GameField::GameAvail),
            Property("Point1X", &GameField::Point1X),
            Property("Point1Y", &GameField::Point1Y),
            Property("Point2X", &GameField::Point2X),
            Property("Point2Y", &GameField::Point2Y),
            Property("ResultAvail", &GameField::ResultAvail),
            Property("ResultX", &GameField::ResultX),
            Property("ResultY", &GameField::ResultY),
            Property("CenterX", &GameField::CenterX),
            Property("CenterY", &GameField::CenterY),
            Property("BackIndex", &GameField::BackIndex),
            Property("PointDiffer", &GameField::PointDiffer),
        },
        {
            Method("PaintOffscreen", &GameField::PaintOffscreen, Scope::Protected),
            Method("Initialize", &GameField::Initialize, Scope::Protected),
            Method("Event_MouseDown", &GameField::Event_MouseDown),
            Method("GameStart", &GameField::GameStart, Scope::Protected),
            Method("GameEnd", &GameField::GameEnd, Scope::Protected),
            Method("SetBack", &GameField::SetBack),
            Method("RefBack", &GameField::RefBack),
            Method("ResultPosition", &GameField::ResultPosition, Scope::Protected),
        },
        {} };
    return record;
}

const ClassRecord& GameField::ClassInfo() const { return Record(); }

bool GameField::Event_MouseDown(int32_t x, int32_t y)
{
    if (GameAvail)
        GameEnd(x, y);
    else
        GameStart();
    return false;
}

double GameField::MarkerRnd() { return Rnd(); }

void GameField::GameStart()
{
    for (;;) {
        Point1X = MarkerX(MarkerRnd());
        Point1Y = MarkerY(MarkerRnd());
        Point2X = MarkerX(MarkerRnd());
        Point2Y = MarkerY(MarkerRnd());
        YieldToBackground();
        double d = Sqrt(Square(Point1X - Point2X) + Square(Point1Y - Point2Y));
        // Exactly 40 apart is drawn again too.
        if (d > kMinMarkerDistance)
            break;
    }
    // Both sums are even: x values are even, y values odd.
    CenterX = ToInt32((Point1X + Point2X) / 2.0);
    CenterY = ToInt32((Point1Y + Point2Y) / 2.0);
    GameAvail = true;
    ResultAvail = false;
    PaintOffscreen();
    RefreshPicture(false);
    MouseCursor(PointCursor());
}

void GameField::GameEnd(int32_t x, int32_t y)
{
    ResultX = x;
    ResultY = y;
    // In Double: a press far outside cannot overflow the differences.
    PointDiffer = ToInt32(Floor(Sqrt(Square(double(x) - CenterX) + Square(double(y) - CenterY))));
    // The sound starts before the scene is drawn; a missing one is silence.
    Ref<SoundPlayer> player = App()->ItsSoundPlayer;
    player->Play(PointDiffer == 0 ? HitSnd() : PointDiffer < kNearLimit ? NearSnd() : OutSnd());
    GameAvail = false;
    ResultAvail = true;
    PaintOffscreen();
    RefreshPicture(false);
    MouseCursor(StartCursor());
}

void GameField::PaintOffscreen()
{
    // No offscreen picture raises here, before anything is drawn.
    Graphics& g = *OffscreenGraphics;
    // Not cleared first: the background covers the previous scene.
    g.DrawPicture(Background(BackIndex), 0, 0);
    if (GameAvail || ResultAvail) {
        DrawCell(g, kFirstMarker, Point1X, Point1Y);
        DrawCell(g, kSecondMarker, Point2X, Point2Y);
    }
    // In the graphics' current colour: its first one until a result has
    // been drawn, black after.
    g.DrawString(GameAvail ? kPromptGuess : kPromptPress, kPromptX, kTextY, 0, false);
    if (!ResultAvail)
        return;
    g.ForeColor(RGB(51, 153, 51));
    g.DrawLine(Point1X, Point1Y, Point2X, Point2Y);
    DrawCell(g, kMidpoint, CenterX, CenterY);
    DrawCell(g, kGuess, ResultX, ResultY);
    g.ForeColor(RGB(0, 0, 0));
    // The text ends kRightMargin pixels from the right edge.
    const std::string s = kErrorLabel + Str(PointDiffer);
    const int32_t x = ToInt32(double(ItsWidth - kRightMargin) - g.StringWidth(s));
    g.DrawString(s, x, kTextY, 0, false);
    if (PointDiffer < kNearLimit) {
        const int32_t q = ResultPosition();
        Ref<Picture> pic = PointDiffer == 0 ? HitPict() : NearPict();
        if (q >= 0 && q <= 3)
            g.DrawPicture(pic, kQuadrantCorner[q].x, kQuadrantCorner[q].y);
    }
}

int32_t GameField::ResultPosition()
{
    if (Point1X == Point2X) {
        // Vertical: the other half left or right, and top when the midpoint
        // lies below the centre.
        if (Point1X > kCentreX)
            return CenterY > kCentreY ? 1 : 2;
        return CenterY > kCentreY ? 0 : 3;
    }
    if (Point1Y == Point2Y) {
        if (Point1Y > kCentreY)
            return CenterX > kCentreX ? 1 : 0;
        return CenterX > kCentreX ? 2 : 3;
    }
    // (fx, fy) is the foot of the perpendicular from the centre to the
    // marker line, y pointing up; the picture goes diagonally opposite it.
    // Each step rounds to Double in this order.
    const double m = (double(Point2Y) - Point1Y) / (double(Point2X) - Point1X);
    auto n = [&] { return m * (double(Point1X) - kCentreX) - (double(Point1Y) - kCentreY); };
    const double fx = n() / (m + 1.0 / m);
    const double fy = n() / (1.0 + m * m);
    const double a = ATan2(fy, fx);
    const int32_t k = ToInt32(a / ACos(0.0) + 6.0);
    return k % 4;
}

void GameField::SetBack(int32_t index)
{
    BackIndex = index;
    App()->ItsPrefs->SetPartInteger(BackIndex, kBackByte, 1);
    PaintOffscreen();
    RefreshPicture(false);
}

int32_t GameField::RefBack() { return BackIndex; }

void GameField::Initialize()
{
    BackIndex = App()->ItsPrefs->GetPartInteger(kBackByte, 1);
    GameAvail = false;
    ResultAvail = false;
    MouseCursor(StartCursor());
}
