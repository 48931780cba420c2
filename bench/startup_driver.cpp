// Measures programs from the outside, on the X server named by DISPLAY:
// the time from start until the window is mapped and its lowest 480 x 300
// pixels show a first scene (more than one colour), the peak memory, and,
// once, the processor time and wake-ups over 10 s of idling with the window
// open. Programs alternate run by run, so drift of the machine touches each
// alike; the first two runs of each are warm-ups and not counted.
//
//   startup_driver <runs> <name>=<program> [<name>=<program> ...]
//
// Prints one line per measure and program, and the ratios of the first
// program to the second.

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <map>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Program {
    std::string name, path;
    std::vector<double> startMs, peakKiB;
};

[[noreturn]] void Die(const std::string& why)
{
    std::fprintf(stderr, "startup_driver: %s\n", why.c_str());
    std::exit(2);
}

pid_t Spawn(const std::string& path)
{
    char* argv[] = { const_cast<char*>(path.c_str()), nullptr };
    pid_t pid;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ) != 0)
        Die("cannot start " + path);
    return pid;
}

// One field of /proc/<pid>/status, in its own unit.
long Status(pid_t pid, const std::string& field)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(field + ":", 0) == 0)
            return std::stol(line.substr(field.size() + 1));
    return -1;
}

// Processor time in clock ticks and context switches, over all threads.
void Usage(pid_t pid, long& ticks, long& switches)
{
    ticks = switches = 0;
    const std::string taskDir = "/proc/" + std::to_string(pid) + "/task";
    DIR* d = opendir(taskDir.c_str());
    if (!d)
        return;
    while (dirent* e = readdir(d)) {
        if (e->d_name[0] == '.')
            continue;
        const std::string task = taskDir + "/" + e->d_name;
        std::ifstream stat(task + "/stat");
        std::string all((std::istreambuf_iterator<char>(stat)), {});
        std::istringstream rest(all.substr(all.rfind(')') + 2));
        std::vector<std::string> f((std::istream_iterator<std::string>(rest)), {});
        if (f.size() > 12)
            ticks += std::stol(f[11]) + std::stol(f[12]); // utime, stime
        std::ifstream status(task + "/status");
        for (std::string line; std::getline(status, line);)
            if (line.find("ctxt_switches:") != std::string::npos)
                switches += std::stol(line.substr(line.find(':') + 1));
    }
    closedir(d);
}

class Display {
public:
    Display()
    {
        c_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(c_))
            Die("no X server (DISPLAY)");
        root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
        uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(c_);
    }
    ~Display() { xcb_disconnect(c_); }

    // The next top-level window mapped, or 0 when the child ended first.
    xcb_window_t WaitForMap(pid_t child)
    {
        for (;;) {
            while (xcb_generic_event_t* e = xcb_poll_for_event(c_)) {
                xcb_window_t mapped = 0;
                if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                    auto* m = reinterpret_cast<xcb_map_notify_event_t*>(e);
                    if (!m->override_redirect)
                        mapped = m->window;
                }
                free(e);
                if (mapped)
                    return mapped;
            }
            if (waitpid(child, nullptr, WNOHANG) == child)
                return 0;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }

    // True when the lowest 480 x 300 pixels of the window hold more than
    // one colour.
    bool Painted(xcb_window_t w)
    {
        auto* g = xcb_get_geometry_reply(c_, xcb_get_geometry(c_, w), nullptr);
        if (!g)
            return false;
        const int h = std::min<int>(g->height, 300), y = g->height - h, wd = std::min<int>(g->width, 480);
        free(g);
        auto* img = xcb_get_image_reply(
            c_, xcb_get_image(c_, XCB_IMAGE_FORMAT_Z_PIXMAP, w, 0, static_cast<int16_t>(y), wd, h, ~0u), nullptr);
        if (!img)
            return false;
        const auto* px = reinterpret_cast<const uint32_t*>(xcb_get_image_data(img));
        const int n = xcb_get_image_data_length(img) / 4;
        bool varied = false;
        for (int i = 1; i < n && !varied; ++i)
            varied = (px[i] & 0xffffff) != (px[0] & 0xffffff);
        free(img);
        return varied;
    }

private:
    xcb_connection_t* c_;
    xcb_window_t root_;
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void End(pid_t pid)
{
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Starts the program once and answers when its first scene shows; the
// process is left running.
pid_t StartOnce(Display& x, const Program& p, double& ms)
{
    const auto t0 = Clock::now();
    const pid_t pid = Spawn(p.path);
    const xcb_window_t w = x.WaitForMap(pid);
    if (!w)
        Die(p.name + " ended before it showed a window");
    while (!x.Painted(w)) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            Die(p.name + " ended before it painted");
        if (Clock::now() - t0 > std::chrono::seconds(20)) {
            End(pid);
            Die(p.name + " showed no scene within 20 s");
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    return pid;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        Die("usage: startup_driver <runs> <name>=<program> <name>=<program> ...");
    const int runs = std::max(1, std::atoi(argv[1]));
    std::vector<Program> programs;
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        const size_t eq = a.find('=');
        if (eq == std::string::npos)
            Die("expected <name>=<program>: " + a);
        programs.push_back({ a.substr(0, eq), a.substr(eq + 1), {}, {} });
    }
    Display x;
    constexpr int kWarmUps = 2;
    for (int run = 0; run < runs + kWarmUps; ++run)
        for (Program& p : programs) {
            double ms;
            const pid_t pid = StartOnce(x, p, ms);
            const long peak = Status(pid, "VmHWM");
            End(pid);
            if (run >= kWarmUps) {
                p.startMs.push_back(ms);
                p.peakKiB.push_back(static_cast<double>(peak));
            }
        }

    std::printf("%-10s %16s %14s %14s %10s\n", "program", "start (ms)", "peak (MiB)", "idle CPU (%)", "wake-ups");
    std::map<std::string, double> start, peak;
    for (Program& p : programs) {
        double ms;
        const pid_t pid = StartOnce(x, p, ms);
        std::this_thread::sleep_for(std::chrono::seconds(1)); // let start-up work finish
        long t0, s0, t1, s1;
        Usage(pid, t0, s0);
        std::this_thread::sleep_for(std::chrono::seconds(10));
        Usage(pid, t1, s1);
        End(pid);
        const double cpu = 100.0 * static_cast<double>(t1 - t0) / static_cast<double>(sysconf(_SC_CLK_TCK)) / 10.0;
        start[p.name] = Median(p.startMs);
        peak[p.name] = Median(p.peakKiB) / 1024.0;
        std::printf("%-10s %9.1f (n=%zu) %14.1f %14.2f %10ld\n", p.name.c_str(), start[p.name], p.startMs.size(),
            peak[p.name], cpu, s1 - s0);
    }
    if (programs.size() >= 2) {
        const std::string& a = programs[0].name;
        const std::string& b = programs[1].name;
        std::printf("ratio %s/%s: start %.2f, peak memory %.2f\n", a.c_str(), b.c_str(), start[a] / start[b],
            peak[a] / peak[b]);
    }
    return 0;
}
