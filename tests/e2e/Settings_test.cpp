#include "e2e/Session.h"

using namespace e2e;

TEST_F(Session, BackgroundAndMuteAreSavedAtQuitAndInForceAtTheNextStart)
{
    Launch();
    EXPECT_TRUE(ShowsBackground(FieldShot(), 1)) << "the default background";
    Keys(GameWindow(), "ctrl+3"); // 歪み, by its shortcut
    EXPECT_TRUE(WaitFor([&] { return ShowsBackground(FieldShot(), 3); })) << "background 3 not drawn";
    ChooseWithMouse({ 2, 1, 9 }); // ゲーム, 効果音, 消音
    Keys(GameWindow(), "ctrl+q");
    ASSERT_EQ(WaitExit(), 0) << Errors();
    EXPECT_EQ(SettingsBytes(), "0003");
    EXPECT_EQ(SettingsTypeAndCreator(), "PREFHRMN");

    Launch();
    EXPECT_TRUE(ShowsBackground(FieldShot("again"), 3));
    // The checked volume item shows its mark in the column left of the
    // captions, and only it.
    ChooseWithMouse({ 2, 1 });
    unsigned long volumes = 0;
    ASSERT_TRUE(WaitFor([&] {
        for (unsigned long id : ProgramWindows())
            if (id != GameWindow() && Shot(id).height() > 150)
                volumes = id;
        return volumes != 0;
    }));
    const QImage menu = Shot(volumes, "volume");
    const int row = menu.height() / 10;
    for (int i = 0; i < 10; ++i) {
        int ink = 0;
        for (int y = i * row + 2; y < (i + 1) * row - 2; ++y)
            for (int x = 4; x < 24; ++x)
                ink += qGray(menu.pixel(x, y)) < 160;
        EXPECT_EQ(ink > 0, i == 9) << "volume item " << i;
    }
    Keys(volumes, "Escape");
    Keys(GameWindow(), "Escape");

    // Muted: a hit shows and nothing sounds while it would have.
    const size_t mark = SoundMark();
    PlayTurn([](QPoint middle) { return middle; });
    EXPECT_TRUE(WaitFor([&] { return ShowsPicture(FieldShot(), "HitPict.png"); }));
    EXPECT_TRUE(HeardSince(mark, 1500ms).empty()) << "a muted hit sounded";
    Keys(GameWindow(), "ctrl+q");
    EXPECT_EQ(WaitExit(), 0);
    EXPECT_EQ(SettingsBytes(), "0003");
}
