#pragma once

#include "audio/Process.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Repeats check until it holds; false when limit passes first.
inline bool WaitFor(const std::function<bool()>& check, std::chrono::milliseconds limit = 5s)
{
    return audio::WaitFor(check, limit);
}

// One test's world, as a player's desktop: the X server and the sound server
// of the test program (started once, see Session.cpp), a private HOME, and a
// copy of the installed program (bin/horomine -> lib/horomine/MacOS beside
// Resources/) that the test may strip of media. Screenshots given a label
// are kept in shots/<Suite.Test>/.
class Session : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    fs::path Preferences() const { return home_ / ".config"; }
    fs::path SettingsFile() const { return Preferences() / "ほろみねの設定"; }
    fs::path Resources() const { return app_ / "lib/horomine/Resources"; }
    std::string SettingsBytes() const;
    // Bytes 0 to 7 of the file's Finder info: Mac type and creator.
    std::string SettingsTypeAndCreator() const;

    // Starts the installed command, behind `prefix` (a command that runs
    // it, as setpriv does) and with `environment` ("NAME=value") over the
    // session's own; returns at once.
    void Start(const std::vector<std::string>& prefix = {}, const std::vector<std::string>& environment = {});
    // Starts it (with `environment` as Start takes it); returns once the
    // game window is mapped and its field shows a scene.
    void Launch(const std::vector<std::string>& environment = {});
    // The exit status, or nothing while it still runs after limit.
    std::optional<int> WaitExit(std::chrono::milliseconds limit = 10s);
    std::string Errors() const;
    // Sends the running game a signal, as the system or its terminal does.
    void Signal(int signal) { game_process_->Signal(signal); }

    // X windows: by exact title once mapped (0 if none within limit), the
    // program's mapped windows (menus included), and whether one is mapped.
    unsigned long WaitForWindow(const std::string& title, std::chrono::milliseconds limit = 10s);
    std::vector<unsigned long> ProgramWindows();
    bool WindowMapped(unsigned long window);
    unsigned long GameWindow() const { return game_; }

    // Input as a player gives it, through the X server's test extension.
    void Press(unsigned long window, QPoint at);
    // At a point of the game field, which lies below the menu bar.
    void PressField(QPoint at);
    void Keys(unsigned long window, const std::string& keys);
    // Asks the window to close, as its close button does.
    void CloseWindow(unsigned long window);
    // path[0]: the title's place on the game's bar; each further number the
    // place of an entry (separators not counted) in the menu that opened.
    void ChooseWithMouse(const std::vector<int>& path);

    QImage Shot(unsigned long window, const std::string& label = "");
    QImage FieldShot(const std::string& label = "");

    // What the field shows: the markers of a turn (by their rims' colour);
    // an installed result picture at one of its four places; the background
    // of that number below the line of text; "誤差＝" and the error at the
    // top right, in the game's font, on turn (the scene before the guess).
    static bool FindMarkers(const QImage& field, QPoint& first, QPoint& second);
    static bool ShowsPicture(const QImage& field, const std::string& picture);
    static bool ShowsBackground(const QImage& field, int index);
    static bool ShowsError(const QImage& turn, const QImage& result, int error);
    // Starts a turn, finds its markers and presses where guess says from
    // their midpoint; answers the field as the turn ran.
    QImage PlayTurn(const std::function<QPoint(QPoint)>& guess);

    // The recorder's position now; what sounded after from, once it has
    // ended (empty when nothing sounds within limit); how like an installed
    // sound file it is (normalised correlation, 1 is the same sound).
    size_t SoundMark() const;
    std::vector<int16_t> HeardSince(size_t from, std::chrono::milliseconds limit = 4s);
    double Likeness(const std::vector<int16_t>& heard, const std::string& soundFile) const;

private:
    fs::path dir_, home_, app_, shots_;
    std::unique_ptr<audio::Process> game_process_;
    unsigned long game_ = 0;
    int shot_count_ = 0;

    // Saves the screenshot as shots/<Suite.Test>/<n>-<label>.png unless the label is empty.
    QImage Keep(const QImage& image, const std::string& label);
};

} // namespace e2e
