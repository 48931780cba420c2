#include "e2e/Session.h"

using namespace e2e;

TEST_F(Session, AboutIsModalTakesThePressesAwayFromTheGameAndAnyKeyClosesIt)
{
    Launch();
    const QImage before = FieldShot();
    ChooseWithMouse({ 3, 0 }); // help, ほろみねについて...
    const unsigned long about = WaitForWindow("ほろみねについて");
    ASSERT_NE(about, 0ul);
    Shot(about, "about");
    PressField(QPoint(240, 150)); // refused while About is open
    Keys(about, "space");
    ASSERT_TRUE(WaitFor([&] { return !WindowMapped(about); })) << "a key did not close About";
    // The refused press came before the key: it would show by now.
    EXPECT_EQ(FieldShot(), before) << "the game took a press while About was open";
    QPoint a, b;
    PressField(QPoint(240, 150));
    EXPECT_TRUE(WaitFor([&] { return FindMarkers(FieldShot(), a, b); })) << "the game takes presses again";
}

TEST_F(Session, HelpOpensBesideTheGameCtrlWClosesOnlyItAndClosingTheGameEndsBoth)
{
    Launch();
    ChooseWithMouse({ 3, 1 }); // help, ほろみねの説明...
    unsigned long help = WaitForWindow("ほろみねの説明");
    ASSERT_NE(help, 0ul);
    Shot(help, "help");
    EXPECT_TRUE(WindowMapped(GameWindow()));
    Keys(help, "ctrl+w");
    ASSERT_TRUE(WaitFor([&] { return !WindowMapped(help); })) << "Ctrl+W did not close Help";

    // With the game in front Ctrl+W does nothing: the game still plays.
    Keys(GameWindow(), "ctrl+w");
    QPoint a, b;
    PressField(QPoint(240, 150));
    EXPECT_TRUE(WaitFor([&] { return FindMarkers(FieldShot(), a, b); }));
    EXPECT_TRUE(WindowMapped(GameWindow()));

    ChooseWithMouse({ 3, 1 });
    help = WaitForWindow("ほろみねの説明");
    ASSERT_NE(help, 0ul);
    CloseWindow(GameWindow());
    EXPECT_EQ(WaitExit(), 0);
    EXPECT_FALSE(WindowMapped(help));
}
