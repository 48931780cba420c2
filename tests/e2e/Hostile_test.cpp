#include "e2e/Session.h"

#include "common/Mounts.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>

using namespace e2e;

namespace {
// A settings file of these bytes, stamped as the game's.
void WriteSettings(const fs::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary) << bytes;
    const char info[32] = { 'P', 'R', 'E', 'F', 'H', 'R', 'M', 'N' };
    ASSERT_EQ(setxattr(file.c_str(), "user.com.apple.FinderInfo", info, sizeof info, 0), 0);
}

int Count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}
} // namespace

TEST_F(Session, WithEveryMediaFileGoneItPlaysReportsEachMissingSoundAndQuits)
{
    for (const auto& file : fs::directory_iterator(Resources()))
        fs::remove(file.path());
    Launch();
    // No markers to see: the prompt changes when the turn starts, and the
    // error shows at the top right when it ends.
    const QImage waiting = FieldShot("no media");
    PressField(QPoint(240, 150));
    QImage turn;
    ASSERT_TRUE(WaitFor([&] { return (turn = FieldShot()) != waiting; }));
    PressField(QPoint(240, 150)); // the guess: its sound is missing
    ASSERT_TRUE(WaitFor([&] { return FieldShot().copy(240, 0, 240, 18) != turn.copy(240, 0, 240, 18); }));
    Keys(GameWindow(), "ctrl+2");
    ChooseWithMouse({ 2, 1, 4 }); // a volume: its sample is missing too
    Keys(GameWindow(), "ctrl+q");
    EXPECT_EQ(WaitExit(), 0) << Errors();
    EXPECT_EQ(Count(Errors(), "the game goes on without this sound"), 2) << Errors();
    EXPECT_EQ(Count(Errors(), "unhandled"), 0) << Errors();
    EXPECT_EQ(SettingsBytes(), "00E2");
}

TEST_F(Session, WithoutTheMissAndVolumeSoundsMissesEndTheirTurnsAndTheVolumeIsStored)
{
    fs::remove(Resources() / "OutSnd.wav");
    fs::remove(Resources() / "SoundVolSnd.wav");
    Launch();
    for (int turn = 0; turn < 3; ++turn) {
        // PlayTurn sees a fresh turn only once the one before has ended.
        const QImage before = PlayTurn([](QPoint m) { return m + QPoint(m.x() < 240 ? 30 : -30, 0); });
        EXPECT_TRUE(WaitFor([&] { return ShowsError(before, FieldShot(), 30); })) << "turn " << turn;
    }
    ChooseWithMouse({ 2, 1, 4 });
    Keys(GameWindow(), "ctrl+q");
    EXPECT_EQ(WaitExit(), 0) << Errors();
    EXPECT_EQ(SettingsBytes(), "00E1");
    for (const char* missing : { "/OutSnd.wav: No such file", "/SoundVolSnd.wav: No such file" })
        EXPECT_EQ(Count(Errors(), missing), 1) << Errors();
    EXPECT_EQ(Count(Errors(), "unhandled"), 0) << Errors();
}

// A start that cannot open the settings ends within 3 s with status 1 and
// the failure named on standard error.
class FailedStart : public Session {
protected:
    void Expect(const std::vector<std::string>& prefix, const std::vector<std::string>& environment,
        const std::string& named)
    {
        Start(prefix, environment);
        const std::optional<int> status = WaitExit(3s);
        ASSERT_TRUE(status.has_value()) << "still running; standard error:\n" << Errors();
        EXPECT_EQ(*status, 1) << Errors();
        EXPECT_EQ(Count(Errors(), "unhandled IOException"), 1) << Errors();
        EXPECT_EQ(Count(Errors(), named), 1) << Errors();
    }
};

TEST_F(FailedStart, SettingsThatCannotBeReachedOrReadEndTheStartAndStayAsTheyWere)
{
    // Root passes permission bits: where they matter the game runs as
    // another user.
    std::vector<std::string> other;
    if (geteuid() == 0 && access("/usr/bin/setpriv", X_OK) == 0 && !test::InOwnUserNamespace())
        other = { "/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups" };
    const bool noOther = geteuid() == 0 && other.empty();
    const std::string name = SettingsFile().filename().string();
    const fs::path base = Preferences().parent_path();
    struct Case {
        const char* what;
        fs::path folder;  // the Preferences folder
        fs::path locked;  // given the mode below once the settings are written
        fs::perms mode;
        uintmax_t size;   // of the settings file, after "0013"
        std::string named;
    };
    const fs::path file = base / "file", shut = base / "shut", big = base / "big";
    const Case cases[] = {
        { "a Preferences folder that cannot be made", file / "prefs", {}, {}, 0,
            "the Preferences folder " + (file / "prefs").string() + ": Not a directory" },
        { "a settings file the user may not read", Preferences(), SettingsFile(), fs::perms::none, 4,
            SettingsFile().string() + ": Permission denied" },
        { "a Preferences folder the user may not search", base / "closed", base / "closed", fs::perms::none, 4,
            (base / "closed" / name).string() + ": Permission denied" },
        // Readable, not searchable.
        { "a folder above it the user may not search", shut / "prefs", shut,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read, 4,
            "cannot reach the Preferences folder " + (shut / "prefs").string() + ": Permission denied" },
        { "a settings file over 1 MiB", big, {}, {}, 1048577, (big / name).string() + " is 1048577 bytes" },
    };
    std::ofstream(file) << "not a folder";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.locked.empty() && noOther) {
            std::printf("skipped %s: running as root, and no other user can be had (setpriv, outside a user namespace)\n", c.what);
            continue;
        }
        if (c.size > 0) {
            fs::create_directories(c.folder);
            WriteSettings(c.folder / name, "0013");
            fs::resize_file(c.folder / name, c.size);
        }
        if (!c.locked.empty())
            fs::permissions(c.locked, c.mode);
        Expect(c.locked.empty() ? std::vector<std::string> {} : other, { "XDG_CONFIG_HOME=" + c.folder.string() }, c.named);
        if (!c.locked.empty())
            fs::permissions(c.locked, fs::perms::owner_all);
        if (c.size > 0) {
            EXPECT_EQ(fs::file_size(c.folder / name), c.size);
            std::string first(4, ' ');
            std::ifstream(c.folder / name, std::ios::binary).read(first.data(), 4);
            EXPECT_EQ(first, "0013");
            EXPECT_EQ(std::distance(fs::directory_iterator(c.folder), {}), 1) << "nothing written beside it";
        }
    }
}

TEST_F(Session, ASettingsFileOfRandomBytesGivesTheDefaultsAndIsWrittenWholeAtQuit)
{
    std::mt19937 random(12);
    std::string junk;
    for (int i = 0; i < 300; ++i)
        junk += static_cast<char>(random() % 256);
    junk[0] = '\xff'; // not the format mark
    WriteSettings(SettingsFile(), junk);
    Launch();
    EXPECT_TRUE(ShowsBackground(FieldShot(), 1));
    Keys(GameWindow(), "ctrl+q");
    EXPECT_EQ(WaitExit(), 0) << Errors();
    EXPECT_EQ(SettingsBytes(), "0011");
    EXPECT_EQ(SettingsTypeAndCreator(), "PREFHRMN");
}

TEST_F(Session, InAReadOnlyPreferencesFolderItPlaysReportsTheFailedSaveKeepsTheOldFileAndEndsWithStatus1)
{
    WriteSettings(SettingsFile(), "0013");
    std::string why;
    auto readOnly = test::Mount::ReadOnlyBind(Preferences(), why);
    if (!readOnly)
        GTEST_SKIP() << "no read-only folder can be had here: " << why;
    Launch();
    EXPECT_TRUE(ShowsBackground(FieldShot(), 3));
    PlayTurn([](QPoint middle) { return middle; });
    EXPECT_TRUE(WaitFor([&] { return ShowsPicture(FieldShot(), "HitPict.png"); }));
    Keys(GameWindow(), "ctrl+2");
    Keys(GameWindow(), "ctrl+q");
    EXPECT_EQ(WaitExit(), 1) << "the settings were not saved; standard error:\n" << Errors();
    EXPECT_EQ(Count(Errors(), "unhandled IOException"), 1) << Errors();
    EXPECT_EQ(SettingsBytes(), "0013");
}
