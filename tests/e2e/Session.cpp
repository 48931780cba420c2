#include "e2e/Session.h"

#include "audio/PulseServer.h"

#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/xattr.h>

namespace e2e {

namespace {

std::string ReadAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs xdotool with these arguments (bounded in time); the numbers it wrote.
std::vector<unsigned long> Xdo(const std::string& args)
{
    std::vector<unsigned long> out;
    if (FILE* p = popen(("timeout 10 xdotool " + args).c_str(), "r")) {
        for (unsigned long id; std::fscanf(p, "%lu", &id) == 1;)
            out.push_back(id);
        pclose(p);
    }
    return out;
}

// One X server (Xvfb), one sound server recording its null sink and this
// process's own connection for screenshots, for the whole test program.
class Desktop : public ::testing::Environment {
public:
    void SetUp() override
    {
        std::string templ = (fs::temp_directory_path() / "horomine-e2e-XXXXXX").string();
        ASSERT_NE(mkdtemp(templ.data()), nullptr);
        dir = templ;
        // Xvfb picks a free display and writes its number once it listens.
        xvfb = std::make_unique<audio::Process>("Xvfb",
            std::vector<std::string> { "-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp" },
            std::vector<std::string> {}, dir / "display", dir / "xvfb.log");
        std::string number;
        ASSERT_TRUE(WaitFor([&] { return !(number = ReadAll(dir / "display")).empty(); }, 10s))
            << ReadAll(dir / "xvfb.log");
        display = ":" + number.substr(0, number.find('\n'));
        setenv("DISPLAY", display.c_str(), 1);
        unsetenv("WAYLAND_DISPLAY");
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        static int argc = 1;
        static char arg0[] = "e2e";
        static char* argv[] = { arg0, nullptr };
        app = std::make_unique<QGuiApplication>(argc, argv);
        sound = std::make_unique<audio::PulseServer>(dir / "pulse"); // sets PULSE_SERVER for the game
        if (!sound->Start()) {
            whyNoSound = sound->Why();
            sound.reset();
        }
    }
    void TearDown() override
    {
        sound.reset();
        app.reset();
        xvfb.reset();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    fs::path dir;
    std::string display, whyNoSound;
    std::unique_ptr<audio::Process> xvfb;
    std::unique_ptr<QGuiApplication> app;
    std::unique_ptr<audio::PulseServer> sound;
};
Desktop* g_desktop = new Desktop;

QString Installed(const std::string& file)
{
    return QString::fromStdString((fs::path(E2E_PREFIX) / "lib/horomine/Resources" / file).string());
}

QImage InstalledPicture(const std::string& file)
{
    return QImage(Installed(file)).convertToFormat(QImage::Format_RGB32);
}

// The middles of the runs of lines (rows, or columns) of the area that hold
// ink: the entries of a menu, the titles of a bar. Runs closer than gap
// join; thinner than minimum (separator lines) are dropped.
std::vector<int> InkRuns(const QImage& image, QRect area, bool columns, int gap, int minimum)
{
    std::vector<int> middles;
    int start = -1, last = -gap - 1;
    const int lines = columns ? area.width() : area.height(), across = columns ? area.height() : area.width();
    for (int i = 0; i <= lines; ++i) {
        bool ink = false;
        for (int j = 0; i < lines && j < across && !ink; ++j)
            ink = qGray(image.pixel(area.topLeft() + (columns ? QPoint(i, j) : QPoint(j, i)))) < 200;
        if (i < lines && !ink)
            continue;
        if (i == lines || i - last > gap) {
            if (start >= 0 && last - start + 1 >= minimum)
                middles.push_back((start + last) / 2);
            start = i;
        }
        last = i;
    }
    return middles;
}

// From the first sample that sounds.
std::vector<int16_t> FromOnset(std::vector<int16_t> s)
{
    s.erase(s.begin(), std::find_if(s.begin(), s.end(), audio::PulseServer::Loud));
    return s;
}

} // namespace

void Session::SetUp()
{
    if (!g_desktop->sound)
        GTEST_SKIP() << "no PulseAudio server could be started here, so nothing can be heard: " << g_desktop->whyNoSound;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(info->test_suite_name()) + "." + info->name();
    dir_ = fs::path(E2E_WORK_DIR) / name;
    shots_ = fs::path(E2E_SHOTS_DIR) / name;
    home_ = dir_ / "home";
    app_ = dir_ / "app";
    fs::remove_all(dir_);
    fs::remove_all(shots_);
    fs::create_directories(shots_);
    for (const char* sub : { ".config", ".cache", "tmp" })
        fs::create_directories(home_ / sub);
    fs::permissions(home_ / "tmp", fs::perms::owner_all);
    // Hard links where they can be had: a test may remove media, never
    // change a file.
    const auto how = fs::copy_options::recursive | fs::copy_options::copy_symlinks;
    std::error_code ec;
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

std::string Session::SettingsBytes() const { return ReadAll(SettingsFile()); }

std::string Session::SettingsTypeAndCreator() const
{
    char info[32] = {};
    if (getxattr(SettingsFile().c_str(), "user.com.apple.FinderInfo", info, sizeof info) >= 8)
        return std::string(info, 8);
    // A file system without user attributes: the AppleDouble file beside it.
    return ReadAll(Preferences() / ("._" + SettingsFile().filename().string())).substr(38, 8);
}

void Session::Start(const std::vector<std::string>& prefix, const std::vector<std::string>& environment)
{
    std::vector<std::string> env = environment;
    for (std::string mine : { "HOME=" + home_.string(), "XDG_CONFIG_HOME=" + Preferences().string(),
             "XDG_CACHE_HOME=" + (home_ / ".cache").string(), "TMPDIR=" + (home_ / "tmp").string(),
             "XDG_RUNTIME_DIR=" + (home_ / "tmp").string() }) {
        const std::string name = mine.substr(0, mine.find('=') + 1);
        if (std::none_of(env.begin(), env.end(), [&](const std::string& e) { return e.rfind(name, 0) == 0; }))
            env.push_back(mine);
    }
    std::vector<std::string> args(prefix.begin() + (prefix.empty() ? 0 : 1), prefix.end());
    const std::string game = (app_ / "bin/horomine").string();
    if (!prefix.empty())
        args.push_back(game);
    game_process_ = std::make_unique<audio::Process>(
        prefix.empty() ? game : prefix.front(), args, env, dir_ / "stdout", dir_ / "stderr");
}

void Session::Launch(const std::vector<std::string>& environment)
{
    Start({}, environment);
    game_ = WaitForWindow("ほろみね");
    ASSERT_NE(game_, 0ul) << "no game window came up; standard error:\n" << Errors();
    ASSERT_TRUE(WaitFor([&] {
        const QImage f = FieldShot();
        return f.copy(0, 0, 1, 1).scaled(f.size()) != f; // more than one colour
    })) << "the game field shows no scene";
}

std::optional<int> Session::WaitExit(std::chrono::milliseconds limit) { return game_process_->Wait(limit); }

std::string Session::Errors() const { return ReadAll(dir_ / "stderr"); }

unsigned long Session::WaitForWindow(const std::string& title, std::chrono::milliseconds limit)
{
    std::vector<unsigned long> found;
    WaitFor([&] { return !(found = Xdo("search --onlyvisible --name '^" + title + "$'")).empty(); }, limit);
    return found.empty() ? 0 : found.front();
}

std::vector<unsigned long> Session::ProgramWindows() { return Xdo("search --onlyvisible --class horomine"); }

bool Session::WindowMapped(unsigned long window)
{
    const std::vector<unsigned long> mapped = Xdo("search --onlyvisible --name .");
    return std::find(mapped.begin(), mapped.end(), window) != mapped.end();
}

void Session::Press(unsigned long window, QPoint at)
{
    Xdo("mousemove --window " + std::to_string(window) + " " + std::to_string(at.x()) + " " + std::to_string(at.y())
        + " click 1");
}

void Session::PressField(QPoint at) { Press(game_, at + QPoint(0, Shot(game_).height() - 300)); }

void Session::Keys(unsigned long window, const std::string& keys)
{
    Xdo("windowfocus --sync " + std::to_string(window) + " key " + keys);
}

void Session::CloseWindow(unsigned long window)
{
    xcb_connection_t* c = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    auto atom = [c](const char* name) {
        auto* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(r);
        return a;
    };
    xcb_client_message_event_t e {};
    e.response_type = XCB_CLIENT_MESSAGE;
    e.format = 32;
    e.window = xcb_window_t(window);
    e.type = atom("WM_PROTOCOLS");
    e.data.data32[0] = atom("WM_DELETE_WINDOW");
    xcb_send_event(c, 0, e.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&e));
    xcb_flush(c);
}

void Session::ChooseWithMouse(const std::vector<int>& path)
{
    const QImage window = Shot(game_);
    const int bar = window.height() - 300;
    const std::vector<int> titles = InkRuns(window, QRect(0, 2, window.width(), bar - 4), true, 8, 2);
    ASSERT_GT(titles.size(), size_t(path[0])) << "titles found: " << titles.size();
    std::vector<unsigned long> known = ProgramWindows();
    Press(game_, QPoint(titles[size_t(path[0])], bar / 2));
    for (size_t step = 1; step < path.size(); ++step) {
        unsigned long menu = 0;
        ASSERT_TRUE(WaitFor([&] {
            for (unsigned long id : ProgramWindows())
                if (std::find(known.begin(), known.end(), id) == known.end())
                    menu = id;
            return menu != 0;
        })) << "no menu opened at step " << step;
        known.push_back(menu);
        QImage shot;
        std::vector<int> entries; // drawn a moment after the menu maps
        WaitFor([&] {
            shot = Shot(menu);
            entries = InkRuns(shot, shot.rect().adjusted(2, 2, -20, -2), false, 3, 6);
            return entries.size() > size_t(path[step]);
        });
        Shot(menu, "menu");
        ASSERT_GT(entries.size(), size_t(path[step])) << "entries found: " << entries.size();
        Press(menu, QPoint(shot.width() / 2, entries[size_t(path[step])]));
    }
}

QImage Session::Keep(const QImage& image, const std::string& label)
{
    if (!label.empty())
        image.save(QString::fromStdString((shots_ / (std::to_string(++shot_count_) + "-" + label + ".png")).string()));
    return image;
}

QImage Session::Shot(unsigned long window, const std::string& label)
{
    return Keep(
        QGuiApplication::primaryScreen()->grabWindow(window).toImage().convertToFormat(QImage::Format_RGB32), label);
}

QImage Session::FieldShot(const std::string& label)
{
    const QImage whole = Shot(game_);
    return Keep(whole.copy(0, whole.height() - 300, 480, 300), label);
}

bool Session::FindMarkers(const QImage& field, QPoint& first, QPoint& second)
{
    // Each rim is a ring of one exact colour around its marker's point.
    auto centre = [&](QRgb rim, QPoint& at) {
        long x = 0, y = 0, n = 0;
        for (int j = 0; j < field.height(); ++j)
            for (int i = 0; i < field.width(); ++i)
                if (field.pixel(i, j) == rim)
                    x += i, y += j, ++n;
        at = n ? QPoint(int(x / n), int(y / n)) : QPoint();
        return n >= 16;
    };
    return centre(qRgb(128, 14, 14), first) && centre(qRgb(14, 30, 120), second);
}

bool Session::ShowsPicture(const QImage& field, const std::string& picture)
{
    const QImage p = InstalledPicture(picture);
    for (QPoint corner : { QPoint(290, 50), QPoint(50, 50), QPoint(50, 200), QPoint(290, 200) }) {
        int shown = 0, drawn = 0;
        for (int j = 0; j < p.height(); ++j)
            for (int i = 0; i < p.width(); ++i)
                if (p.pixel(i, j) != qRgb(255, 255, 255)) { // white is not drawn
                    ++drawn;
                    shown += field.pixel(corner + QPoint(i, j)) == p.pixel(i, j);
                }
        if (drawn > 0 && shown >= drawn * 9 / 10)
            return true;
    }
    return false;
}

bool Session::ShowsBackground(const QImage& field, int index)
{
    return field.copy(0, 20, 480, 280) == InstalledPicture("Back" + std::to_string(index) + "Pict.png").copy(0, 20, 480, 280);
}

bool Session::ShowsError(const QImage& turn, const QImage& result, int error)
{
    // As the offscreen graphics draws: the 12-pixel system font without
    // antialiasing, black, ending 5 pixels from the right, baseline 14.
    QImage expected = turn.copy();
    QFont font;
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::NoAntialias);
    const QString text = QStringLiteral("誤差＝") + QString::number(error);
    QPainter p(&expected);
    p.setFont(font);
    p.drawText(QPointF(int(475.0 - QFontMetricsF(font).horizontalAdvance(text)), 14), text);
    p.end();
    return expected.copy(240, 0, 240, 18) == result.copy(240, 0, 240, 18);
}

QImage Session::PlayTurn(const std::function<QPoint(QPoint)>& guess)
{
    PressField(QPoint(240, 150));
    QImage turn;
    QPoint a, b;
    // A new turn: both markers and nothing of a result (its line is green).
    auto fresh = [&] {
        turn = FieldShot();
        for (int j = 0; j < turn.height(); ++j)
            for (int i = 0; i < turn.width(); ++i)
                if (turn.pixel(i, j) == qRgb(51, 153, 51))
                    return false;
        return FindMarkers(turn, a, b);
    };
    if (!WaitFor(fresh))
        ADD_FAILURE() << "no markers after a press";
    else
        PressField(guess((a + b) / 2));
    return turn;
}

size_t Session::SoundMark() const { return g_desktop->sound->Recorded(); }

std::vector<int16_t> Session::HeardSince(size_t from, std::chrono::milliseconds limit)
{
    std::optional<std::vector<int16_t>> heard;
    WaitFor([&] { return (heard = g_desktop->sound->Ended(from)).has_value(); }, limit);
    return heard ? FromOnset(*heard) : std::vector<int16_t> {};
}

double Session::Likeness(const std::vector<int16_t>& heard, const std::string& soundFile) const
{
    QFile f(Installed(soundFile));
    f.open(QIODevice::ReadOnly);
    const QByteArray data = f.readAll().mid(44); // the media tool's WAV: 16-bit mono PCM after a 44-byte header
    std::vector<int16_t> file(size_t(data.size()) / 2);
    std::memcpy(file.data(), data.data(), file.size() * 2);
    file = FromOnset(file);
    double best = 0;
    // Onsets found by a threshold lie apart where a sound fades in.
    for (long lag = -1500; lag <= 1500; ++lag) {
        double xy = 0, xx = 0, yy = 0;
        for (size_t i = 0; i < file.size(); ++i) {
            const long j = long(i) + lag;
            const double y = j >= 0 && size_t(j) < heard.size() ? heard[size_t(j)] : 0.0;
            xy += file[i] * y, xx += double(file[i]) * file[i], yy += y * y;
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
    ::testing::AddGlobalTestEnvironment(e2e::g_desktop);
    return RUN_ALL_TESTS();
}
