#include "audio/PulseServer.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace audio {

namespace fs = std::filesystem;

namespace {

const char* kSink = "horomine_test";

bool Accepts(const fs::path& socketPath)
{
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    std::string p = socketPath.string();
    if (p.size() >= sizeof addr.sun_path) {
        close(fd);
        return false;
    }
    p.copy(addr.sun_path, p.size());
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    close(fd);
    return ok;
}

} // namespace

PulseServer::PulseServer(fs::path dir)
    : dir_(std::move(dir))
{
}

PulseServer::~PulseServer() { Stop(); }

bool PulseServer::Fail(const std::string& why)
{
    why_ = why;
    Stop();
    return false;
}

std::string PulseServer::LogTail(const fs::path& log) const
{
    std::ifstream in(log);
    std::string line, tail;
    std::vector<std::string> lines;
    while (std::getline(in, line))
        lines.push_back(line);
    for (size_t i = lines.size() > 8 ? lines.size() - 8 : 0; i < lines.size(); ++i)
        tail += "\n    " + lines[i];
    return tail;
}

bool PulseServer::Start()
{
    std::error_code ec;
    fs::create_directories(dir_ / "runtime", ec);
    fs::create_directories(dir_ / "config", ec);
    fs::permissions(dir_ / "runtime", fs::perms::owner_all, ec);
    socket_ = dir_ / "native";
    recording_ = dir_ / "monitor.raw";
    const fs::path serverLog = dir_ / "server.log";
    const fs::path recorderLog = dir_ / "recorder.log";

    // A server of our own: no configuration files, no session bus, no
    // real-time scheduling, never exits on idle, on a private socket.
    std::vector<std::string> env { "HOME=" + dir_.string(), "XDG_RUNTIME_DIR=" + (dir_ / "runtime").string(),
        "XDG_CONFIG_HOME=" + (dir_ / "config").string(), "DBUS_SESSION_BUS_ADDRESS=disabled:", "DISPLAY=" };
    server_ = std::make_unique<Process>("pulseaudio",
        std::vector<std::string> { "-n", "--daemonize=no", "--system=no", "--exit-idle-time=-1",
            "--use-pid-file=no", "--disable-shm=yes", "--realtime=no", "--high-priority=no", "--no-cpu-limit=yes",
            "--log-target=stderr",
            std::string("--load=module-null-sink sink_name=") + kSink + " format=s16le rate=44100 channels=1",
            "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket_.string() },
        env, dir_ / "server.out", serverLog);
    if (!server_->Started())
        return Fail("could not start pulseaudio");
    if (!WaitFor([&] { return !server_->Running() || Accepts(socket_); }, std::chrono::seconds(10))
        || !server_->Running())
        return Fail("pulseaudio did not come up:" + LogTail(serverLog));

    std::string address = "unix:" + socket_.string();
    setenv("PULSE_SERVER", address.c_str(), 1);

    // The null sink renders in blocks as long as the latency that its
    // streams ask for, two seconds while none asks: the recording would
    // start only when that first block ends. Held suspended until the
    // recorder has asked for its short latency, it starts in short blocks.
    const std::vector<std::string> pactlEnv { "PULSE_SERVER=" + address, "HOME=" + dir_.string() };
    auto pactl = [&](std::vector<std::string> args) {
        Process p("pactl", args, pactlEnv, dir_ / "pactl.out", dir_ / "pactl.log");
        return p.Wait(std::chrono::seconds(10)) == 0;
    };
    if (!pactl({ "suspend-sink", kSink, "1" }))
        return Fail("pactl could not suspend the null sink:" + LogTail(dir_ / "pactl.log"));

    // Recording starts as soon as the monitor delivers data, which may take
    // a moment: wait until it flows before anything plays.
    recorder_ = std::make_unique<Process>("parec",
        std::vector<std::string> { std::string("--device=") + kSink + ".monitor", "--format=s16le", "--rate=44100",
            "--channels=1", "--raw", "--latency-msec=10" },
        pactlEnv, recording_, recorderLog);
    auto recorderConnected = [&] {
        pactl({ "list", "short", "source-outputs" });
        std::error_code size;
        return fs::file_size(dir_ / "pactl.out", size) > 0 && !size;
    };
    if (!WaitFor([&] { return !recorder_->Running() || recorderConnected(); }, std::chrono::seconds(10))
        || !pactl({ "suspend-sink", kSink, "0" }))
        return Fail("parec did not connect to the null sink:" + LogTail(recorderLog));
    if (!WaitFor([&] { return !recorder_->Running() || Recorded() > 0; }, std::chrono::seconds(10))
        || !recorder_->Running())
        return Fail("parec recorded nothing from the null sink:" + LogTail(recorderLog));
    return true;
}

size_t PulseServer::Recorded() const
{
    std::error_code ec;
    auto size = fs::file_size(recording_, ec);
    return ec ? 0 : static_cast<size_t>(size / 2);
}

std::vector<int16_t> PulseServer::Samples(size_t from, size_t to) const
{
    std::vector<int16_t> out;
    if (to <= from)
        return out;
    std::ifstream in(recording_, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from * 2));
    out.resize(to - from);
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size() * 2));
    out.resize(static_cast<size_t>(in.gcount()) / 2);
    return out;
}

std::optional<std::vector<int16_t>> PulseServer::Ended(size_t from) const
{
    std::vector<int16_t> s = Samples(from, Recorded());
    size_t last = s.size();
    while (last > 0 && !Loud(s[last - 1]))
        --last;
    if (last == 0 || s.size() - last < kRate * 3 / 10)
        return std::nullopt;
    return s;
}

void PulseServer::Stop()
{
    if (recorder_)
        recorder_->Stop();
    if (server_)
        server_->Stop();
    recorder_.reset();
    server_.reset();
}

} // namespace audio
