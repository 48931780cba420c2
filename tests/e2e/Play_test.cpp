#include "e2e/Session.h"

#include <cmath>

using namespace e2e;

TEST_F(Session, APerfectTurnShowsAndSoundsTheHitAFarMissOnlyItsErrorAndTheMissSound)
{
    Launch();
    size_t mark = SoundMark();
    QImage turn = PlayTurn([](QPoint middle) { return middle; });
    QImage result;
    ASSERT_TRUE(WaitFor([&] { return ShowsPicture(result = FieldShot(), "HitPict.png"); })) << "no hit picture";
    FieldShot("hit");
    EXPECT_TRUE(ShowsError(turn, result, 0)) << "誤差＝0 is not shown";
    std::vector<int16_t> heard = HeardSince(mark);
    EXPECT_GT(Likeness(heard, "HitSnd.wav"), 0.9);
    EXPECT_LT(Likeness(heard, "OutSnd.wav"), 0.5);

    // Far off: from the midpoint towards the far side of the field.
    mark = SoundMark();
    int error = 0;
    turn = PlayTurn([&](QPoint middle) {
        const QPoint away(middle.x() < 240 ? 200 : -200, middle.y() < 150 ? 100 : -100);
        error = static_cast<int>(std::sqrt(double(QPoint::dotProduct(away, away))));
        return middle + away;
    });
    ASSERT_TRUE(WaitFor([&] { return ShowsError(turn, result = FieldShot(), error); })) << "no error shown";
    FieldShot("miss");
    EXPECT_FALSE(ShowsPicture(result, "HitPict.png") || ShowsPicture(result, "NearPict.png"));
    heard = HeardSince(mark);
    EXPECT_GT(Likeness(heard, "OutSnd.wav"), 0.9);
    EXPECT_LT(Likeness(heard, "HitSnd.wav"), 0.5);
}
