#include <framework/Application.h>
#include <framework/Canvas.h>
#include <framework/Dispatch.h>
#include <framework/MenuBar.h>
#include <framework/QuitMenuItem.h>
#include <framework/Runtime.h>
#include <framework/Window.h>

#include "common/ToolkitDriver.h"

#include <QCoreApplication>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

using namespace fw;

namespace {

std::vector<std::string> journal;

Ref<MenuItem> Item(Ref<MenuItem> m, const std::string& name, const std::string& text, bool autoEnable,
    const std::string& keys = "", int32_t index = 0)
{
    m->Name(name);
    m->AutoEnable(autoEnable);
    m->Index(index);
    m->Text(text);
    m->KeyboardShortcut(keys);
    return m;
}

// File: Quit (Cmd+Q); Sound: loud (Cmd+1), soft (Cmd+2)
Ref<MenuBar> Bar()
{
    auto bar = New<MenuBar>();
    bar->Append(Item(New<MenuItem>(), "FileMenu", "File", true));
    bar->Child("FileMenu")->Append(Item(New<QuitMenuItem>(), "FileQuit", "Quit", true, "Cmd+Q"));
    bar->Append(Item(New<MenuItem>(), "SoundMenu", "Sound", true));
    bar->Child("SoundMenu")->Append(Item(New<MenuItem>(), "Vol", "loud", false, "Cmd+1", 0));
    bar->Child("SoundMenu")->Append(Item(New<MenuItem>(), "Vol", "soft", false, "Cmd+2", 1));
    return bar;
}

class App : public Application {
public:
    int32_t current = 0;
    bool throwInOpen = false;
    bool throwInClose = false;
    int signalInClose = 0;
    int signalAfterMs = 0;
    void Event_Open() override
    {
        journal.push_back("App.Open");
        if (throwInOpen)
            throw IOException("settings unreadable", -36);
    }
    void Event_Close() override
    {
        journal.push_back("App.Close");
        if (signalInClose) {
            std::fprintf(stderr, "quitting\n");
            usleep(useconds_t(signalAfterMs) * 1000);
            raise(signalInClose);
        }
        if (throwInClose)
            throw IOException("settings unwritable", -54);
    }
    void Event_EnableMenuItems() override
    {
        journal.push_back("App.EnableMenuItems");
        for (int32_t i = 0; i <= 1; ++i) {
            Ref<MenuItem> item = MenuBar()->Lookup("Vol", i);
            item->Checked(i == current);
            if (i != current)
                item->Enabled(true);
        }
    }
    bool Vol(int32_t index)
    {
        journal.push_back("App.Vol " + std::to_string(index));
        current = index;
        return true;
    }
};

class Field : public Canvas {
public:
    void Event_Open() override { journal.push_back("Field.Open"); }
};

class Win : public Window {
public:
    explicit Win(std::string title, bool ownsVol = false) : title_(std::move(title)), ownsVol_(ownsVol) {}
    bool refuseQuit = false;
    bool quitInClose = false;
    void Layout() override
    {
        journal.push_back(title_ + ".Layout");
        Title(title_);
        Width(120);
        Height(80);
    }
    void CreateControls() override { AddControl("Field", New<Field>()); }
    void AddMenuHandlers(const Ref<Window>& target) override
    {
        if (ownsVol_)
            target->AddMenuHandler("Vol", BindMenuHandler(Cast<Win>(target), &Win::Vol));
    }
    bool Vol(int32_t index)
    {
        journal.push_back(title_ + ".Vol " + std::to_string(index));
        return true;
    }
    void Event_EnableMenuItems() override { journal.push_back(title_ + ".EnableMenuItems"); }
    bool Event_CancelClose(bool quitting) override
    {
        journal.push_back(title_ + (quitting ? ".CancelClose quitting" : ".CancelClose"));
        return refuseQuit;
    }
    void Event_Close() override
    {
        journal.push_back(title_ + ".Close");
        if (quitInClose)
            GetAppObject()->Quit();
    }

private:
    std::string title_;
    bool ownsVol_;
};

Ref<Win> OpenWin(const std::string& title, bool ownsVol = false)
{
    auto w = New<Win>(title, ownsVol);
    w->Constructor();
    return w;
}

Ref<App> StartApp()
{
    auto app = New<App>();
    app->MenuBar(Bar());
    RuntimeRegisterAppObject(app);
    app->AddMenuHandler("Vol", BindMenuHandler(app, &App::Vol));
    return app;
}

// Runs the event loop with `step` as its first event; a guard ends the
// loop with 99 when nothing else does.
int32_t RunWith(std::function<void()> step, int guardMs = 3000)
{
    QTimer::singleShot(0, std::move(step));
    QTimer::singleShot(guardMs, [] { RuntimeQuit(99); });
    return RuntimeRun();
}

} // namespace

TEST(Application, OpensOnceBeforeTheFirstWindowBuildsAndItsControlsOpen)
{
    Ref<App> app = StartApp();
    EXPECT_EQ(GetAppObject(), Ref<Application>(app));
    EXPECT_TRUE(journal.empty()); // registering alone does not open it
    OpenWin("main");
    OpenWin("second");
    RuntimeOpenApplication();
    EXPECT_EQ(journal, std::vector<std::string>({ "App.Open", "main.Layout", "Field.Open", "second.Layout", "Field.Open" }));
}

TEST(Application, TheEventLoopOpensItWhenNoWindowDid)
{
    Ref<App> app = StartApp();
    EXPECT_EQ(RunWith([] { journal.push_back("loop"); }, 50), 99);
    EXPECT_EQ(journal, std::vector<std::string>({ "App.Open", "loop" }));
}

TEST(Application, AnExceptionInOpenLeavesStartUpWithNoWindowBuiltAndTheRunFailed)
{
    Ref<App> app = StartApp();
    app->throwInOpen = true;
    EXPECT_THROW(OpenWin("main"), IOException);
    EXPECT_EQ(WindowCount(), 0);
    // Raised by the loop instead, it leaves the loop before it runs.
    StartApp()->throwInOpen = true;
    EXPECT_THROW(RunWith([] { journal.push_back("loop"); }, 50), IOException);
    EXPECT_EQ(journal, std::vector<std::string>({ "App.Open", "App.Open" }));
    EXPECT_EQ(RuntimeExit(), 1);
}

TEST(Application, OpenFailingInsideTheLoopEndsItAndFailsTheRun)
{
    // No application yet when the loop starts: the first window, built
    // from an event, opens it.
    EXPECT_EQ(RunWith([] {
        Dispatch([] {
            StartApp()->throwInOpen = true;
            OpenWin("late");
        });
    }),
        1);
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_EQ(RuntimeExit(), 1);
}

TEST(Application, AnExceptionInCloseEndsTheRunWithStatus1)
{
    Ref<App> app = StartApp();
    app->throwInClose = true;
    OpenWin("a");
    EXPECT_EQ(RunWith([&] { app->Quit(); }), 1);
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_EQ(RuntimeExit(), 1);
}

// What asks the whole application to quit from outside: a signal to end,
// or the toolkit (the session manager's Die at logout).
TEST(Application, AQuitFromOutsideRunsAsTheQuitItemDoesFromAModalWindowToo)
{
    const std::pair<const char*, std::function<void()>> asks[] = { { "SIGTERM", [] { raise(SIGTERM); } },
        { "SIGHUP", [] { raise(SIGHUP); } }, { "SIGINT", [] { raise(SIGINT); } },
        { "the toolkit", [] { QCoreApplication::quit(); } } };
    for (const auto& [name, ask] : asks) {
        SCOPED_TRACE(name);
        Ref<App> app = StartApp();
        OpenWin("main");
        Ref<Win> modal = OpenWin("modal");
        journal.clear();
        EXPECT_EQ(RunWith([&] {
            QTimer::singleShot(0, ask);
            modal->ShowModal();
        }),
            0);
        EXPECT_EQ(WindowCount(), 0);
        EXPECT_EQ(std::count(journal.begin(), journal.end(), "App.Close"), 1);
    }
}

// Signals come in pairs (systemd's SIGTERM and SIGHUP, a terminal's two
// SIGHUPs): one that comes while a signal's quit is under way, after the
// loop too, is part of it; one 2 s or more after the first ends the process
// as the signal would.
TEST(ApplicationDeathTest, ASecondSignalIsPartOfTheQuitUnlessItComesTwoSecondsLater)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            StartApp()->signalInClose = SIGHUP;
            const int32_t status = RunWith([] {
                raise(SIGTERM);
                raise(SIGHUP);
            });
            raise(SIGINT); // on the way out
            const bool once = std::count(journal.begin(), journal.end(), "App.Close") == 1;
            _exit(status == 0 && once ? 0 : 3);
        },
        testing::ExitedWithCode(0), "quitting");
    EXPECT_EXIT(
        {
            Ref<App> app = StartApp();
            app->signalInClose = SIGTERM;
            app->signalAfterMs = 2050;
            RunWith([] { raise(SIGTERM); });
            _exit(0);
        },
        testing::KilledBySignal(SIGTERM), "quitting"); // the first signal only quit
}

TEST(Application, AutoQuitQuitsWhenTheLastWindowClosesRaisingCloseOnce)
{
    Ref<App> app = StartApp();
    app->AutoQuit(true);
    Ref<Win> a = OpenWin("a");
    Ref<Win> b = OpenWin("b");
    journal.clear();
    int32_t result = RunWith([&] {
        a->Close();
        journal.push_back("still running");
        b->Close();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(journal,
        std::vector<std::string>({ "a.CancelClose", "a.Close", "still running", "b.CancelClose", "b.Close", "App.Close" }));
    app->Quit(); // Close is raised once per run
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "App.Close"), 1);
}

TEST(Application, WithoutAutoQuitTheLastWindowClosingLeavesItRunning)
{
    Ref<App> app = StartApp();
    Ref<Win> a = OpenWin("a");
    EXPECT_EQ(RunWith([&] { a->Close(); }, 200), 99);
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "App.Close"), 0);
}

TEST(Application, QuitFromAWindowsCloseClosesTheOthersAndEnds)
{
    Ref<App> app = StartApp();
    Ref<Win> a = OpenWin("a");
    Ref<Win> b = OpenWin("b");
    b->quitInClose = true;
    journal.clear();
    EXPECT_EQ(RunWith([&] { b->Close(); }), 0);
    EXPECT_EQ(journal,
        std::vector<std::string>({ "b.CancelClose", "b.Close", "a.CancelClose quitting", "a.Close", "App.Close" }));
    EXPECT_EQ(WindowCount(), 0);
}

TEST(Application, QuitClosesEveryWindowAsPartOfQuittingUnlessOneRefuses)
{
    Ref<App> app = StartApp();
    Ref<Win> a = OpenWin("a");
    Ref<Win> b = OpenWin("b");
    b->refuseQuit = true;
    journal.clear();
    EXPECT_EQ(RunWith([&] { test::Press("a", "Ctrl+Q"); }, 300), 99);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "App.Close"), 0);
    EXPECT_EQ(WindowCount(), 1); // "a" in front closed, then "b" refused

    b->refuseQuit = false;
    journal.clear();
    EXPECT_EQ(RunWith([&] { test::Press("b", "Ctrl+Q"); }), 0);
    EXPECT_EQ(journal, std::vector<std::string>({ "App.EnableMenuItems", "b.EnableMenuItems",
                           "b.CancelClose quitting", "b.Close", "App.Close" }));
}

TEST(Application, WindowsWithoutABarOfTheirOwnShowTheApplicationsBar)
{
    Ref<Win> early = OpenWin("early");
    EXPECT_EQ(test::MenuBarOf("early"), nullptr);
    Ref<App> app = StartApp();
    ASSERT_NE(test::MenuBarOf("early"), nullptr);
    EXPECT_NE(test::MenuOf(test::MenuBarOf("early"), "Sound"), nullptr);
    auto other = New<MenuBar>();
    other->Append(Item(New<MenuItem>(), "Only", "Only", true));
    app->MenuBar(other);
    EXPECT_EQ(test::MenuOf(test::MenuBarOf("early"), "Sound"), nullptr);
    EXPECT_NE(test::MenuOf(test::MenuBarOf("early"), "Only"), nullptr);
    app->MenuBar(nullptr);
    EXPECT_EQ(test::MenuBarOf("early"), nullptr);
}

TEST(Application, TheApplicationUpdatesFirstAndItsHandlerTakesWhatNoWindowHandles)
{
    Ref<App> app = StartApp();
    Ref<Win> plain = OpenWin("plain");
    Ref<MenuBar> bar = app->MenuBar();
    journal.clear();
    QMenu* sound = test::OpenMenu("plain", "Sound");
    EXPECT_EQ(journal, std::vector<std::string>({ "App.EnableMenuItems", "plain.EnableMenuItems" }));
    // The checked item has only an application handler: it stays disabled.
    EXPECT_TRUE(bar->Lookup("Vol", 0)->Checked());
    EXPECT_FALSE(bar->Lookup("Vol", 0)->Enabled());
    EXPECT_TRUE(bar->Lookup("Vol", 1)->Enabled());
    test::Click(sound, test::Entry(sound->actions(), "soft"));
    EXPECT_EQ(journal.back(), "App.Vol 1");

    // The current step cannot be chosen again by its shortcut either.
    journal.clear();
    test::Press("plain", "Ctrl+2");
    EXPECT_EQ(journal, std::vector<std::string>({ "App.EnableMenuItems", "plain.EnableMenuItems" }));
    test::Press("plain", "Ctrl+1");
    EXPECT_EQ(journal.back(), "App.Vol 0");

    // A window with a handler of the name takes the item first, checked or not.
    Ref<Win> owner = OpenWin("owner", true);
    journal.clear();
    test::Press("owner", "Ctrl+1");
    EXPECT_EQ(journal, std::vector<std::string>({ "App.EnableMenuItems", "owner.EnableMenuItems", "owner.Vol 0" }));
}

TEST(Application, WithdrawingTheObjectLetsGoOfItsHandlers)
{
    WeakRef<App> weak;
    {
        Ref<App> app = StartApp();
        weak = app;
    }
    EXPECT_FALSE(weak.Expired()); // registered, and its handler holds it
    RuntimeRegisterAppObject(nullptr);
    EXPECT_TRUE(weak.Expired());
    EXPECT_TRUE(GetAppObject().IsNil());
}
