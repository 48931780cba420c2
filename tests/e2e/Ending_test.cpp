#include "e2e/Session.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

using namespace e2e;

// SIGTERM (logout, shutdown, kill), SIGHUP (its terminal gone) and SIGINT
// (Ctrl+C where it was started) quit the game as 終了 does, with About or
// Help open too: the background chosen in the run is kept.
TEST_F(Session, ASignalToEndQuitsAsTheQuitItemDoes)
{
    struct Case {
        int signal, background;
        std::vector<int> window; // opened from the help menu first, if any
        std::string title;
    };
    const Case cases[] = { { SIGTERM, 3, {}, "" }, { SIGHUP, 4, { 3, 0 }, "ほろみねについて" },
        { SIGINT, 0, { 3, 1 }, "ほろみねの説明" } };
    for (const Case& c : cases) {
        SCOPED_TRACE(strsignal(c.signal));
        Launch();
        Keys(GameWindow(), "ctrl+" + std::to_string(c.background));
        ASSERT_TRUE(WaitFor([&] { return ShowsBackground(FieldShot(), c.background); }));
        if (!c.window.empty()) {
            ChooseWithMouse(c.window);
            ASSERT_NE(WaitForWindow(c.title), 0ul);
        }
        Signal(c.signal);
        EXPECT_EQ(WaitExit(5s), 0) << Errors();
        EXPECT_EQ(SettingsBytes(), "001" + std::to_string(c.background));
        EXPECT_EQ(Errors().find("horomine:"), std::string::npos) << Errors();
    }
}

// A logout through the X session manager (SaveYourself for the shutdown,
// then Die) quits the game as 終了 does, whichever of its windows is
// open: the choice made in the run is kept and the status is 0.
TEST_F(Session, ALogoutThroughTheSessionManagerKeepsTheChoice)
{
    struct Case {
        int background;
        std::vector<int> window; // from the help menu
        std::string title;
    };
    const Case cases[] = { { 3, { 3, 0 }, "ほろみねについて" }, { 4, { 3, 1 }, "ほろみねの説明" } };
    const fs::path own = Preferences().parent_path().parent_path();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        fs::remove(SettingsFile());
        const fs::path out = own / ("manager" + std::to_string(c.background)), err = out.string() + ".err";
        audio::Process manager(E2E_SESSION_MANAGER, {}, {}, out, err);
        auto said = [&](const std::string& line) {
            std::ifstream in(out);
            for (std::string l; std::getline(in, l);)
                if (l.rfind(line, 0) == 0)
                    return l;
            return std::string();
        };
        ASSERT_TRUE(WaitFor([&] { return !said("listening ").empty(); })) << std::ifstream(err).rdbuf();
        Launch({ "SESSION_MANAGER=" + said("listening ").substr(10) });
        ASSERT_FALSE(said("registered").empty()) << "the game did not register with the session manager:\n" << Errors();
        Keys(GameWindow(), "ctrl+" + std::to_string(c.background));
        ASSERT_TRUE(WaitFor([&] { return ShowsBackground(FieldShot(), c.background); }));
        ChooseWithMouse(c.window);
        ASSERT_NE(WaitForWindow(c.title), 0ul);

        manager.Signal(SIGUSR1);
        ASSERT_TRUE(WaitFor([&] { return !said("died").empty(); })) << "no Die was sent";
        EXPECT_EQ(said("saved "), "saved 1");
        EXPECT_EQ(WaitExit(5s), 0) << Errors();
        EXPECT_EQ(SettingsBytes(), "001" + std::to_string(c.background));
        EXPECT_EQ(Errors().find("horomine:"), std::string::npos) << Errors();
    }
}

// The display going away under the game (a window manager's force-quit of
// its window, the X server ending) ends it with status 1, not a crash; the
// settings file is neither written nor harmed.
TEST_F(Session, WhenItsDisplayGoesItEndsWithStatus1)
{
    std::ofstream(SettingsFile()) << "keep";
    auto expectEnded = [&] {
        const std::optional<int> status = WaitExit(5s);
        ASSERT_TRUE(status.has_value()) << "still running:\n" << Errors();
        EXPECT_EQ(*status, 1) << Errors();
        EXPECT_NE(Errors().find("X11 connection broke"), std::string::npos) << Errors();
        EXPECT_EQ(SettingsBytes(), "keep");
        EXPECT_FALSE(fs::exists(SettingsFile().string() + "_1"));
    };

    Launch();
    Keys(GameWindow(), "ctrl+2");
    ASSERT_EQ(std::system(("timeout 10 xdotool windowkill " + std::to_string(GameWindow())).c_str()), 0);
    expectEnded();

    // An X server of its own, ended while the game runs on it.
    const fs::path own = Preferences().parent_path().parent_path();
    audio::Process xvfb("Xvfb", { "-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp" }, {},
        own / "display", own / "xvfb.log");
    std::string display;
    ASSERT_TRUE(WaitFor([&] {
        std::ifstream(own / "display") >> display;
        return !display.empty();
    }));
    Start({}, { "DISPLAY=:" + display });
    ASSERT_TRUE(WaitFor([&] {
        const std::string search = "DISPLAY=:" + display + " timeout 5 xdotool search --onlyvisible --name '^ほろみね$' >/dev/null";
        return std::system(search.c_str()) == 0;
    }, 10s)) << "no game window came up; standard error:\n" << Errors();
    xvfb.Stop();
    expectEnded();
}
