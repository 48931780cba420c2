#include "common/MediaFiles.h"
#include "common/TemporaryBundle.h"
#include "common/TestSupport.h"
#include "common/ToolkitDriver.h"

#include <game/Appl.h>
#include <game/Menu.h>
#include <game/SoundResources.h>

#include <prefs/ApplPreferences.h>
#include <sound/SoundPlayer.h>

#include <framework/FolderItem.h>
#include <framework/Runtime.h>
#include <framework/Sound.h>
#include <framework/WaitCursor.h>
#include <framework/Window.h>

#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <random>
#include <string>

using namespace fw;
namespace fs = std::filesystem;

namespace {

const std::string kName = "ほろみねの設定";

fs::path SettingsFile() { return test::Home() / ".config" / kName; }

// A settings file holding `settings`, written by the store itself.
void Plant(const std::string& settings)
{
    auto prefs = New<ApplPreferences>(kName, "HRMN");
    prefs->SetData(settings);
    prefs->Save();
    ASSERT_EQ(test::ReadFile(SettingsFile()), "00" + settings);
}

// A file of any bytes under the settings name, stamped as the store's own.
void PlantBytes(const std::string& bytes)
{
    test::WriteFile(SettingsFile(), bytes);
    auto f = New<FolderItem>(SettingsFile().string());
    f->MacType("PREF");
    f->MacCreator("HRMN");
}

// The volume sample in this test's bundle, so that audible choices sound.
void PutSample() { test::WriteFile(test::BundleResources() / "SoundVolSnd.wav", test::WavBytes()); }

// What `call` writes to standard error, through a pipe: unlike a file, a
// pipe takes it whatever the file size limit.
std::string StderrOf(const std::function<void()>& call)
{
    int fds[2];
    if (pipe(fds) != 0)
        return "no pipe";
    std::fflush(stderr);
    int saved = dup(2);
    dup2(fds[1], 2);
    close(fds[1]);
    call();
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    std::string out;
    char buf[4096];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;)
        out.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    return out;
}

struct Stamp {
    ino_t inode = 0;
    int64_t sec = 0, nsec = 0;
    bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const fs::path& p)
{
    struct stat st {};
    if (stat(p.c_str(), &st) != 0)
        return {};
    return { st.st_ino, st.st_mtim.tv_sec, st.st_mtim.tv_nsec };
}

// Start-up as the program does it: the object with the shared bar, its
// registration, its menu handler, then Open.
Ref<Appl> StartAppl()
{
    auto app = New<Appl>();
    app->Constructor();
    app->MenuBar(Menu::Instance());
    RuntimeRegisterAppObject(app);
    app->AddMenuHandler("GameMenuSoundVol", BindMenuHandler(App(), &Appl::GameMenuSoundVol_Action));
    RuntimeOpenApplication();
    return app;
}

std::string Settings() { return App()->ItsPrefs->GetData(); }
int32_t Step() { return App()->ItsSoundPlayer->RefVolume(); }

// Runs the application's menu update as a menu opening does, and answers
// which volume items ended checked and enabled, as "c" / "e" / "-".
std::string VolumeItems(const std::string& window)
{
    test::OpenMenu(window, "ゲーム");
    test::CloseMenus();
    std::string s;
    for (int32_t i = 0; i <= 9; ++i) {
        Ref<MenuItem> item = GameMenuSoundVol(i);
        s += item->Checked() ? (item->Enabled() ? 'C' : 'c') : (item->Enabled() ? 'e' : '-');
    }
    return s;
}

// Stands in for the game window: shows the shared bar, handles the
// background items and checks the current one, as that window does.
class StandInMain : public Window {
public:
    int32_t back = 1;
    std::vector<int32_t> chosen;
    void Layout() override
    {
        Title("main");
        Width(200);
        Height(100);
        MenuBar(Menu::Instance());
    }
    void AddMenuHandlers(const Ref<Window>& target) override
    {
        target->AddMenuHandler("GameMenuBack", BindMenuHandler(Cast<StandInMain>(target), &StandInMain::Back));
    }
    bool Back(int32_t index)
    {
        chosen.push_back(index);
        back = index;
        return true;
    }
    void Event_EnableMenuItems() override
    {
        for (int32_t i = 0; i <= 4; ++i) {
            Ref<MenuItem> item = MenuBar()->Lookup("GameMenuBack", i);
            if (i == back) {
                item->Checked(true);
            } else {
                item->Checked(false);
                item->Enable();
            }
        }
    }
};

// Stands in for a window with no menu handler and no bar of its own.
class StandInOther : public Window {
public:
    void Layout() override
    {
        Title("other");
        Width(200);
        Height(100);
    }
};

template <class W>
Ref<W> OpenWindow()
{
    auto w = New<W>();
    w->Constructor();
    return w;
}

} // namespace

TEST(Appl, FirstRunWithoutAFileStartsLoudestAndWritesTheDefaultsAtQuit)
{
    Ref<Appl> app = StartAppl();
    EXPECT_EQ(Settings(), "11");
    EXPECT_EQ(Step(), 0);
    EXPECT_TRUE(app->AutoQuit());
    EXPECT_TRUE(AutoWaitCursorEnabled());
    EXPECT_FALSE(fs::exists(SettingsFile()));
    Ref<StandInMain> main = OpenWindow<StandInMain>();
    EXPECT_EQ(VolumeItems("main"), "ceeeeeeeee");
    app->Quit();
    EXPECT_EQ(test::ReadFile(SettingsFile()), "0011");
    EXPECT_EQ(test::TypeAndCreator(SettingsFile()), "PREFHRMN");
}

TEST(Appl, SettingsC3GiveStepTwoAndAnUnchangedRunWritesNothing)
{
    Plant("C3");
    Stamp before = StampOf(SettingsFile());
    Ref<Appl> app = StartAppl();
    EXPECT_EQ(Settings(), "C3");
    EXPECT_EQ(Step(), 2);
    Ref<StandInOther> other = OpenWindow<StandInOther>();
    EXPECT_EQ(VolumeItems("other"), "eeceeeeeee");
    app->Quit();
    EXPECT_EQ(StampOf(SettingsFile()), before);
    EXPECT_EQ(test::ReadFile(SettingsFile()), "00C3");
}

TEST(Appl, ShortAndLongSettingsAreFilledOrKeptWhole)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    PutSample();
    Plant("E");
    {
        Ref<Appl> app = StartAppl();
        EXPECT_EQ(Settings(), "E1");
        EXPECT_EQ(Step(), 4);
        app->Quit();
        EXPECT_EQ(test::ReadFile(SettingsFile()), "00E1");
    }
    Plant("A2xyz");
    Ref<Appl> app = StartAppl();
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(app->ItsPrefs->GetPartInteger(2, 1), 2);
    EXPECT_TRUE(app->GameMenuSoundVol_Action(5));
    EXPECT_EQ(Settings(), "F2xyz");
    app->Quit();
    EXPECT_EQ(test::ReadFile(SettingsFile()), "00F2xyz");
}

TEST(Appl, MuteIsStoredAsZeroAndRestoredAsStepNine)
{
    {
        Ref<Appl> app = StartAppl();
        Ref<StandInMain> main = OpenWindow<StandInMain>();
        QMenu* sound = test::OpenSubmenu(test::OpenMenu("main", "ゲーム"), "効果音");
        ASSERT_NE(sound, nullptr);
        // No sample file in this bundle: muting plays nothing, so nothing fails.
        testing::internal::CaptureStderr();
        test::Click(sound, test::Entry(sound->actions(), "消音"));
        EXPECT_EQ(testing::internal::GetCapturedStderr().find("unhandled"), std::string::npos);
        EXPECT_EQ(Step(), 9);
        EXPECT_FALSE(app->ItsSoundPlayer->RefEnable());
        EXPECT_EQ(Settings(), "01");
        app->Quit();
    }
    EXPECT_EQ(test::ReadFile(SettingsFile()), "0001");
    Ref<Appl> next = StartAppl();
    EXPECT_EQ(Step(), 9);
    Ref<StandInOther> other = OpenWindow<StandInOther>();
    EXPECT_EQ(VolumeItems("other"), "eeeeeeeeec");
}

TEST(Appl, TheDefaultByteOneKeepsIndexZeroCheckedUntilAnotherStepIsChosen)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    PutSample();
    Ref<Appl> app = StartAppl();
    Ref<StandInOther> other = OpenWindow<StandInOther>();
    EXPECT_EQ(VolumeItems("other"), "ceeeeeeeee");
    // The checked item cannot be chosen: the click does nothing.
    QMenu* sound = test::OpenSubmenu(test::OpenMenu("other", "ゲーム"), "効果音");
    QAction* loudest = test::Entry(sound->actions(), "■■■■■■■■■");
    ASSERT_NE(loudest, nullptr);
    EXPECT_FALSE(loudest->isEnabled());
    test::Click(sound, loudest);
    EXPECT_EQ(Settings(), "11");

    // Another step stores its code; index 0 chosen later stores "A".
    sound = test::OpenSubmenu(test::OpenMenu("other", "ゲーム"), "効果音");
    test::Click(sound, test::Entry(sound->actions(), "■■■■■■"));
    EXPECT_EQ(Settings(), "D1");
    EXPECT_EQ(VolumeItems("other"), "eeeceeeeee");
    sound = test::OpenSubmenu(test::OpenMenu("other", "ゲーム"), "効果音");
    test::Click(sound, test::Entry(sound->actions(), "■■■■■■■■■"));
    EXPECT_EQ(Step(), 0);
    EXPECT_EQ(Settings(), "A1");
}

TEST(Appl, WithoutTheSampleAVolumeChoiceIsSilentAndStoresTheCode)
{
    Plant("C3");
    Ref<Appl> app = StartAppl();
    testing::internal::CaptureStderr();
    ASSERT_FALSE(SoundVolSnd()); // no Resources folder beside this test
    Ref<StandInOther> other = OpenWindow<StandInOther>();
    QMenu* sound = test::OpenSubmenu(test::OpenMenu("other", "ゲーム"), "効果音");
    test::Click(sound, test::Entry(sound->actions(), "■■■■■■"));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.find("unhandled"), std::string::npos) << err;
    EXPECT_EQ(Step(), 3);
    EXPECT_EQ(Settings(), "D3");
    EXPECT_EQ(VolumeItems("other"), "eeeceeeeee");
}

TEST(Appl, WithTheSampleAVolumeChoiceSoundsItAtTheNewStepAndStoresTheCode)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    test::WriteFile(test::BundleResources() / "SoundVolSnd.wav", test::WavBytes());
    Ref<Appl> app = StartAppl();
    ASSERT_TRUE(SoundVolSnd());
    EXPECT_TRUE(app->GameMenuSoundVol_Action(2));
    EXPECT_EQ(SoundVolSnd()->Volume(), 50);
    EXPECT_EQ(Settings(), "C1");
    EXPECT_TRUE(app->GameMenuSoundVol_Action(8));
    EXPECT_EQ(SoundVolSnd()->Volume(), 6);
    EXPECT_EQ(Settings(), "I1");
}

TEST(Appl, TheMenuRuleWithAWindowThatHandlesTheBackgroundAndOneThatDoesNot)
{
    Plant("C3");
    Ref<Appl> app = StartAppl();
    Ref<StandInMain> main = OpenWindow<StandInMain>();
    main->back = 3;
    Ref<Menu> bar = Menu::Instance();

    // The game window in front: its handler enables all five background
    // items, the checked one too; the checked volume item stays disabled.
    EXPECT_EQ(VolumeItems("main"), "eeceeeeeee");
    for (int32_t i = 0; i <= 4; ++i) {
        EXPECT_TRUE(bar->Lookup("GameMenuBack", i)->Enabled()) << i;
        EXPECT_EQ(bar->Lookup("GameMenuBack", i)->Checked(), i == 3) << i;
    }
    EXPECT_FALSE(bar->Lookup("FileClose")->Enabled());
    for (const char* edit : { "EditUndo", "EditCut", "EditCopy", "EditPaste", "EditClear" })
        EXPECT_FALSE(bar->Lookup(edit)->Enabled()) << edit;
    EXPECT_TRUE(bar->Lookup("FileQuit")->Enabled());
    EXPECT_TRUE(bar->Lookup("AppleAbout")->Enabled());
    EXPECT_TRUE(bar->Lookup("HelpApp")->Enabled());
    test::Press("main", "Ctrl+3"); // checked, but the window handles it
    test::Press("main", "Ctrl+0");
    EXPECT_EQ(main->chosen, std::vector<int32_t>({ 3, 0 }));
    test::Press("main", "Ctrl+W"); // nobody handles the close item here
    EXPECT_EQ(WindowCount(), 1);

    // Another window in front: no background handler, so "Cmd+0" does
    // nothing, while the volume items still work.
    Ref<StandInOther> other = OpenWindow<StandInOther>();
    main->chosen.clear();
    test::Press("other", "Ctrl+0");
    test::Press("other", "Ctrl+4");
    EXPECT_TRUE(main->chosen.empty());
    EXPECT_FALSE(bar->Lookup("GameMenuBack", 0)->Enabled());
    EXPECT_EQ(VolumeItems("other"), "eeceeeeeee");
    QMenu* sound = test::OpenSubmenu(test::OpenMenu("other", "ゲーム"), "効果音");
    testing::internal::CaptureStderr(); // no sample here: the step is set regardless
    test::Click(sound, test::Entry(sound->actions(), "消音"));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(Step(), 9);
}

TEST(Appl, QuittingFromTheMenuSavesOnceAndEndsTheLoop)
{
    Plant("C3");
    Ref<Appl> app = StartAppl();
    Ref<StandInMain> main = OpenWindow<StandInMain>();
    app->GameMenuSoundVol_Action(9);
    QTimer::singleShot(0, [] { test::Press("main", "Ctrl+Q"); });
    QTimer::singleShot(3000, [] { RuntimeQuit(99); });
    EXPECT_EQ(RuntimeRun(), 0);
    EXPECT_EQ(test::ReadFile(SettingsFile()), "0003");
    EXPECT_EQ(WindowCount(), 0);
}

TEST(Appl, ClosingTheLastWindowQuitsAndSaves)
{
    Ref<Appl> app = StartAppl();
    Ref<StandInMain> main = OpenWindow<StandInMain>();
    QTimer::singleShot(0, [&] { main->Close(); });
    QTimer::singleShot(3000, [] { RuntimeQuit(99); });
    EXPECT_EQ(RuntimeRun(), 0);
    EXPECT_EQ(test::ReadFile(SettingsFile()), "0011");
}

TEST(Appl, ASettingsFileOfAnyContentOpensWithoutACrash)
{
    std::mt19937 rng(20120503);
    std::vector<std::string> contents = { "", "0", "00", "001", "XY11", "00\xFF", std::string("00\0\0\0", 5),
        "00\n\r\t", "00" + std::string((1 << 20) - 2, 'Q'), "0\xE2\x96\xA0" }; // 1 MiB: the most that is read
    for (int i = 0; i < 20; ++i) {
        std::string junk(static_cast<size_t>(rng() % 64), '\0');
        for (char& c : junk)
            c = static_cast<char>(rng());
        contents.push_back((i % 2 ? "00" : "") + junk);
    }
    for (const std::string& bytes : contents) {
        SCOPED_TRACE(testing::PrintToString(bytes.substr(0, 16)));
        PlantBytes(bytes);
        testing::internal::CaptureStderr();
        Ref<Appl> app = StartAppl();
        EXPECT_EQ(testing::internal::GetCapturedStderr().find("unhandled"), std::string::npos);
        ASSERT_TRUE(app->ItsPrefs && app->ItsSoundPlayer);
        EXPECT_GE(Settings().size(), 2u);
        std::string mark = bytes.substr(0, 2);
        if (bytes.size() >= 3 && mark == "00") {
            EXPECT_EQ(Settings().substr(0, 1), bytes.substr(2, 1));
        }
        EXPECT_GE(Step(), 0);
        EXPECT_LE(Step(), 9);
        RuntimeRegisterAppObject(nullptr);
    }
}

TEST(Appl, AFailedSaveAtQuitIsReportedLeavesTheOldFileWholeAndFailsTheRun)
{
    Plant("C3");
    Ref<Appl> app = StartAppl();
    app->GameMenuSoundVol_Action(9);
    // Every write beyond the first byte fails, as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit tight = old;
    tight.rlim_cur = 1;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    std::string err = StderrOf([&] { app->Quit(); });
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_NE(err.find("IOException"), std::string::npos) << err;
    EXPECT_EQ(test::ReadFile(SettingsFile()), "00C3");
    EXPECT_EQ(test::TypeAndCreator(SettingsFile()), "PREFHRMN");
    // The loop was told to end all the same, and the run failed.
    EXPECT_EQ(RuntimeRun(), 1);
    EXPECT_EQ(RuntimeExit(), 1);
}

TEST(Appl, AnUnreadableSettingsFileEndsOpenEarlyWithTheWaitCursorBackOn)
{
    // A folder under the settings name, stamped as the store's file: reading it fails.
    fs::create_directories(SettingsFile());
    std::string info = std::string("PREFHRMN") + std::string(24, '\0');
    ASSERT_EQ(setxattr(SettingsFile().c_str(), "user.com.apple.FinderInfo", info.data(), 32, 0), 0);
    auto app = New<Appl>();
    RuntimeRegisterAppObject(app);
    EXPECT_THROW(RuntimeOpenApplication(), IOException);
    EXPECT_TRUE(AutoWaitCursorEnabled());
    EXPECT_FALSE(app->ItsPrefs.IsNil()); // made before the failing step
    EXPECT_TRUE(app->ItsSoundPlayer.IsNil());
    EXPECT_FALSE(app->AutoQuit());
}

TEST(Appl, AccessorsRaiseOnNil)
{
    EXPECT_TRUE(App().IsNil());
    EXPECT_THROW(GameMenuSoundVol(0), NilObjectException);
    auto bare = New<Appl>();
    RuntimeRegisterAppObject(bare);
    EXPECT_EQ(App(), bare);
    EXPECT_THROW(GameMenuSoundVol(0), NilObjectException); // no menu bar yet
    EXPECT_THROW(bare->Event_EnableMenuItems(), NilObjectException); // before Open
    bare->MenuBar(Menu::Instance());
    EXPECT_EQ(GameMenuSoundVol(9)->Text(), "消音");
    EXPECT_TRUE(GameMenuSoundVol(10).IsNil());
    RuntimeRegisterAppObject(New<Application>());
    EXPECT_TRUE(App().IsNil()); // an application of another class
}
