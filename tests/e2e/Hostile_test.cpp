#include "e2e/Session.h"

#include "common/Mounts.h"

#include <sys/xattr.h>

#include <fstream>
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
    // No markers to see: the prompt changes when the turn starts.
    const QImage waiting = FieldShot("no media");
    PressField(QPoint(240, 150));
    ASSERT_TRUE(WaitFor([&] { return FieldShot() != waiting; }));
    PressField(QPoint(240, 150)); // the guess: its sound is missing
    ASSERT_TRUE(WaitFor([&] { return Count(Errors(), "unhandled NilObjectException") == 1; })) << Errors();
    Keys(GameWindow(), "ctrl+2");
    ChooseWithMouse({ 2, 1, 4 }); // a volume: its sample is missing too
    ASSERT_TRUE(WaitFor([&] { return Count(Errors(), "unhandled NilObjectException") == 2; })) << Errors();
    Keys(GameWindow(), "ctrl+q");
    EXPECT_EQ(WaitExit(), 0) << Errors();
    EXPECT_EQ(Count(Errors(), "unhandled"), 2) << Errors();
    // The failed sample leaves the volume's code unwritten.
    EXPECT_EQ(SettingsBytes(), "0012");
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

TEST_F(Session, InAReadOnlyPreferencesFolderItPlaysReportsTheFailedSaveAndKeepsTheOldFile)
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
    EXPECT_EQ(WaitExit(), 0) << Errors();
    EXPECT_EQ(Count(Errors(), "unhandled IOException"), 1) << Errors();
    EXPECT_EQ(SettingsBytes(), "0013");
}
