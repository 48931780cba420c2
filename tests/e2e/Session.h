#pragma once

#include "audio/Process.h"
#include "audio/PulseServer.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>
#include <QRect>

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

// One test's world, as a player's desktop: an X server of its own (Xvfb)
// that this process also draws from for screenshots, a sound server of its
// own recording its null sink, a private HOME, and a copy of the installed
// program (bin/horomine -> lib/horomine/MacOS/horomine beside Resources/),
// which the test may strip of media.
class Session : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The private HOME and the Preferences folder in it.
    const fs::path& Home() const { return home_; }
    fs::path Preferences() const { return home_ / ".config"; }
    fs::path SettingsFile() const { return Preferences() / "ほろみねの設定"; }
    // The copy's Resources folder.
    fs::path Resources() const { return app_ / "lib/horomine/Resources"; }

    // Starts the installed command and waits until its game window is mapped
    // and the game field shows a first scene.
    void Launch();
    // Waits for the program to end; its exit status, or nothing on timeout.
    std::optional<int> WaitExit(std::chrono::milliseconds limit = 10s);
    // What the program wrote on standard error so far.
    std::string Errors() const;

    // The X window of the top-level window titled so, waiting until it is
    // mapped; 0 when none comes.
    unsigned long WaitForWindow(const std::string& title, std::chrono::milliseconds limit = 10s);
    bool WindowMapped(unsigned long window);
    // The game window and the game field's rectangle in it (below the bar).
    unsigned long GameWindow() const { return game_; }
    QRect Field();

    // Input, as a player gives it: through the X server's test extension.
    void Press(unsigned long window, QPoint at);
    void PressField(QPoint at) { Press(game_, Field().topLeft() + at); }
    void Keys(unsigned long window, const std::string& keys);
    // Asks the window to close, as its close button does.
    void CloseWindow(unsigned long window);

    // A screenshot of the window (0: the whole screen, where menus open in
    // windows of their own); one with a label is also kept in the test's
    // shots folder.
    QImage Shot(unsigned long window, const std::string& label = "");
    QImage FieldShot(const std::string& label = "");
    // Repeats check until it holds; false when limit passes first.
    static bool WaitFor(const std::function<bool()>& check, std::chrono::milliseconds limit = 5s);

    // Sound: the recorder's position now, and what was recorded from there.
    size_t SoundMark() const;
    // Waits until a sound starts after from and has ended; its samples, or
    // none when nothing sounds within limit.
    std::vector<int16_t> HeardSince(size_t from, std::chrono::milliseconds limit = 4s);
    // How like the installed sound file these samples are: normalised
    // correlation of the two, aligned on their onsets; 1 is the same sound.
    double Likeness(const std::vector<int16_t>& heard, const std::string& soundFile) const;

private:
    fs::path dir_, home_, app_, shots_;
    std::unique_ptr<audio::Process> game_process_;
    unsigned long game_ = 0;
    int shot_count_ = 0;

    std::string Run(const std::vector<std::string>& args, int* status = nullptr) const;
};

// Runs once per test program: the X server, the sound server and this
// process's connection to the X server.
class Desktop : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

    static Desktop& Instance();
    const std::string& Display() const { return display_; }
    audio::PulseServer* Sound() const { return sound_.get(); }
    const std::string& WhyNoSound() const { return why_no_sound_; }

private:
    fs::path dir_;
    std::string display_;
    std::unique_ptr<audio::Process> xvfb_;
    std::unique_ptr<audio::PulseServer> sound_;
    std::string why_no_sound_;
};

} // namespace e2e
