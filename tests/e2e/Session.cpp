#include "e2e/Session.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace e2e {

namespace {

// A null sink gives exact zeros while nothing plays.
constexpr int kSilence = 64;
constexpr size_t kTrailingSilence = audio::PulseServer::kRate * 3 / 10;

bool Loud(int16_t s) { return s > kSilence || s < -kSilence; }

Desktop* g_desktop = nullptr;
int g_argc = 1;
char g_arg0[] = "e2e";
char* g_argv[] = { g_arg0, nullptr };
std::unique_ptr<QGuiApplication> g_app;

std::string ReadAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The samples of a 16-bit mono PCM WAV file.
std::vector<int16_t> WavSamples(const fs::path& file)
{
    const std::string bytes = ReadAll(file);
    for (size_t at = 12; at + 8 <= bytes.size();) {
        uint32_t size;
        std::memcpy(&size, bytes.data() + at + 4, 4);
        if (bytes.compare(at, 4, "data") == 0) {
            std::vector<int16_t> out(std::min<size_t>(size, bytes.size() - at - 8) / 2);
            std::memcpy(out.data(), bytes.data() + at + 8, out.size() * 2);
            return out;
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

size_t Onset(const std::vector<int16_t>& s)
{
    return static_cast<size_t>(std::find_if(s.begin(), s.end(), Loud) - s.begin());
}

} // namespace

// --- the desktop ---------------------------------------------------------

Desktop& Desktop::Instance() { return *g_desktop; }

void Desktop::SetUp()
{
    g_desktop = this;
    std::string templ = (fs::temp_directory_path() / "horomine-e2e-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    dir_ = templ;

    // Xvfb picks a free display itself and writes its number to this pipe
    // once it accepts connections: no guessing, no sleeping.
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    int writeEnd = fcntl(fds[1], F_DUPFD, 3); // without close-on-exec: Xvfb inherits it
    xvfb_ = std::make_unique<audio::Process>("Xvfb",
        std::vector<std::string> { "-displayfd", std::to_string(writeEnd), "-screen", "0", "1280x800x24",
            "-nolisten", "tcp", "-noreset" },
        std::vector<std::string> {}, dir_ / "xvfb.out", dir_ / "xvfb.log");
    close(writeEnd);
    close(fds[1]);
    std::string number;
    pollfd p { fds[0], POLLIN, 0 };
    char c;
    while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start: " << ReadAll(dir_ / "xvfb.log");
    display_ = ":" + number;
    setenv("DISPLAY", display_.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    g_app = std::make_unique<QGuiApplication>(g_argc, g_argv);

    sound_ = std::make_unique<audio::PulseServer>(dir_ / "pulse");
    if (!sound_->Start()) {
        why_no_sound_ = sound_->Why();
        sound_.reset();
    }
}

void Desktop::TearDown()
{
    sound_.reset();
    g_app.reset();
    xvfb_.reset();
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

// --- one test ------------------------------------------------------------

void Session::SetUp()
{
    Desktop& desktop = Desktop::Instance();
    if (!desktop.Sound())
        GTEST_SKIP() << "no PulseAudio server could be started here, so nothing can be heard: "
                     << desktop.WhyNoSound();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(info->test_suite_name()) + "." + info->name();
    dir_ = fs::path(E2E_WORK_DIR) / name;
    shots_ = fs::path(E2E_SHOTS_DIR) / name;
    std::error_code ec;
    fs::remove_all(dir_, ec);
    fs::remove_all(shots_, ec);
    home_ = dir_ / "home";
    app_ = dir_ / "app";
    for (const char* sub : { ".config", ".cache", "tmp" })
        fs::create_directories(home_ / sub);
    fs::permissions(home_ / "tmp", fs::perms::owner_all);
    fs::create_directories(shots_);
    // The copy shares the installed files (hard links), so a test may
    // remove media from it, never change them.
    const auto how = fs::copy_options::recursive | fs::copy_options::copy_symlinks;
    fs::copy(E2E_PREFIX, app_, how | fs::copy_options::create_hard_links, ec);
    if (ec) {
        fs::remove_all(app_);
        fs::copy(E2E_PREFIX, app_, how);
    }
}

void Session::TearDown()
{
    if (game_process_)
        game_process_->Stop();
    std::error_code ec;
    fs::remove_all(app_, ec);
}

std::string Session::Run(const std::vector<std::string>& args, int* status) const
{
    std::vector<std::string> all { "timeout", "10" };
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    pid_t pid;
    int rc = posix_spawnp(&pid, "timeout", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string text;
    char buf[4096];
    ssize_t n;
    while (rc == 0 && (n = read(out[0], buf, sizeof buf)) > 0)
        text.append(buf, static_cast<size_t>(n));
    close(out[0]);
    int st = -1;
    if (rc == 0)
        waitpid(pid, &st, 0);
    if (status)
        *status = rc == 0 && WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return text;
}

void Session::Launch()
{
    const fs::path command = app_ / "bin/horomine";
    game_process_ = std::make_unique<audio::Process>(command.string(), std::vector<std::string> {},
        std::vector<std::string> { "HOME=" + home_.string(), "XDG_CONFIG_HOME=" + Preferences().string(),
            "XDG_CACHE_HOME=" + (home_ / ".cache").string(), "TMPDIR=" + (home_ / "tmp").string(),
            "XDG_RUNTIME_DIR=" + (home_ / "tmp").string(), "DISPLAY=" + Desktop::Instance().Display(),
            "QT_QPA_PLATFORM=xcb" },
        dir_ / "stdout", dir_ / "stderr");
    game_ = WaitForWindow("ほろみね");
    ASSERT_NE(game_, 0ul) << "no game window came up; standard error:\n" << Errors();
    // The first scene is painted when the field is more than one colour.
    ASSERT_TRUE(WaitFor([&] {
        const QImage f = FieldShot();
        for (int y = 0; y < f.height(); y += 3)
            for (int x = 0; x < f.width(); x += 3)
                if (f.pixel(x, y) != f.pixel(0, 0))
                    return true;
        return false;
    })) << "the game field shows no scene";
}

std::optional<int> Session::WaitExit(std::chrono::milliseconds limit)
{
    return game_process_ ? game_process_->Wait(limit) : std::nullopt;
}

std::string Session::Errors() const { return ReadAll(dir_ / "stderr"); }

unsigned long Session::WaitForWindow(const std::string& title, std::chrono::milliseconds limit)
{
    unsigned long found = 0;
    WaitFor(
        [&] {
            std::istringstream ids(Run({ "xdotool", "search", "--onlyvisible", "--name", "^" + title + "$" }));
            return static_cast<bool>(ids >> found);
        },
        limit);
    return found;
}

bool Session::WindowMapped(unsigned long window)
{
    std::istringstream ids(Run({ "xdotool", "search", "--onlyvisible", "--name", "." }));
    for (unsigned long id; ids >> id;)
        if (id == window)
            return true;
    return false;
}

QRect Session::Field()
{
    const QImage whole = Shot(game_);
    return QRect(0, whole.height() - 300, 480, 300);
}

void Session::Press(unsigned long window, QPoint at)
{
    Run({ "xdotool", "mousemove", "--window", std::to_string(window), std::to_string(at.x()), std::to_string(at.y()),
        "click", "1" });
}

void Session::Keys(unsigned long window, const std::string& keys)
{
    Run({ "xdotool", "windowfocus", "--sync", std::to_string(window), "key", keys });
}

void Session::CloseWindow(unsigned long window)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11->connection();
    auto atom = [c](const char* name) {
        xcb_intern_atom_reply_t* r
            = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(r);
        return a;
    };
    xcb_client_message_event_t e {};
    e.response_type = XCB_CLIENT_MESSAGE;
    e.format = 32;
    e.window = static_cast<xcb_window_t>(window);
    e.type = atom("WM_PROTOCOLS");
    e.data.data32[0] = atom("WM_DELETE_WINDOW");
    e.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, e.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&e));
    xcb_flush(c);
}

QImage Session::Shot(unsigned long window, const std::string& label)
{
    QImage image = QGuiApplication::primaryScreen()->grabWindow(window).toImage().convertToFormat(QImage::Format_RGB32);
    if (!label.empty())
        image.save(QString::fromStdString((shots_ / (std::to_string(++shot_count_) + "-" + label + ".png")).string()));
    return image;
}

QImage Session::FieldShot(const std::string& label)
{
    const QImage whole = Shot(game_);
    const QImage field = whole.copy(0, whole.height() - 300, 480, 300);
    if (!label.empty())
        field.save(QString::fromStdString((shots_ / (std::to_string(++shot_count_) + "-" + label + ".png")).string()));
    return field;
}

bool Session::WaitFor(const std::function<bool()>& check, std::chrono::milliseconds limit)
{
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (check())
            return true;
        std::this_thread::sleep_for(20ms);
    }
    return check();
}

size_t Session::SoundMark() const { return Desktop::Instance().Sound()->Recorded(); }

std::vector<int16_t> Session::HeardSince(size_t from, std::chrono::milliseconds limit)
{
    audio::PulseServer& sound = *Desktop::Instance().Sound();
    std::vector<int16_t> s;
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        s = sound.Samples(from, sound.Recorded());
        size_t onset = Onset(s), last = s.size();
        while (last > onset && !Loud(s[last - 1]))
            --last;
        if (onset < s.size() && s.size() - last >= kTrailingSilence)
            return std::vector<int16_t>(s.begin() + static_cast<std::ptrdiff_t>(onset), s.end());
        std::this_thread::sleep_for(10ms);
    }
    return {};
}

double Session::Likeness(const std::vector<int16_t>& heard, const std::string& soundFile) const
{
    const std::vector<int16_t> file = WavSamples(fs::path(E2E_PREFIX) / "lib/horomine/Resources" / soundFile);
    const size_t a = Onset(heard), b = Onset(file);
    double best = 0;
    // Onsets found by a threshold may differ by a few samples.
    for (int lag = -64; lag <= 64; ++lag) {
        double xy = 0, xx = 0, yy = 0;
        for (size_t i = b; i < file.size(); ++i) {
            const long j = static_cast<long>(a + (i - b)) + lag;
            const double y = j >= 0 && static_cast<size_t>(j) < heard.size() ? heard[static_cast<size_t>(j)] : 0.0;
            xy += file[i] * y;
            xx += double(file[i]) * file[i];
            yy += y * y;
        }
        if (xx > 0 && yy > 0)
            best = std::max(best, xy / std::sqrt(xx * yy));
    }
    return best;
}

} // namespace e2e

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new e2e::Desktop);
    return RUN_ALL_TESTS();
}
