#include "audio/Process.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace audio {

bool WaitFor(const std::function<bool()>& check, std::chrono::milliseconds limit)
{
    for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
        if (check())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return check();
}

Process::Process(const std::string& program, const std::vector<std::string>& args,
    const std::vector<std::string>& environment, const std::filesystem::path& stdoutFile,
    const std::filesystem::path& stderrFile)
{
    // Everything the child needs is made before fork: after it, only calls
    // that are safe in a copy of a threaded process.
    std::vector<std::string> argStore { program };
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<std::string> envStore;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        std::string name = entry.substr(0, entry.find('='));
        bool overridden = false;
        for (const std::string& mine : environment)
            overridden = overridden || mine.substr(0, mine.find('=')) == name;
        if (!overridden)
            envStore.push_back(entry);
    }
    envStore.insert(envStore.end(), environment.begin(), environment.end());
    std::vector<char*> argv, envp;
    for (auto& a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : envStore)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string out = stdoutFile.string(), err = stderrFile.string();
    std::string execFailed = "cannot run " + program + " (is it installed?)\n";
    pid_t parent = getpid();

    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        // As a desktop starts a program: whatever signals the test runs
        // with ignored or blocked (a background job ignores SIGINT), the
        // child starts with none. SIGKILL, SIGSTOP and the C library's own
        // refuse the reset, which leaves them as they are.
        for (int signal = 1; signal < NSIG; ++signal)
            ::signal(signal, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (o < 0 || e < 0 || dup2(o, 1) < 0 || dup2(e, 2) < 0)
            _exit(127);
        execvpe(argv[0], argv.data(), envp.data());
        ssize_t written = write(2, execFailed.data(), execFailed.size());
        (void)written;
        _exit(127);
    }
}

Process::~Process() { Stop(); }

bool Process::Running()
{
    if (pid_ <= 0)
        return false;
    int status;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        Reaped(status);
        return false;
    }
    return true;
}

void Process::Reaped(int status)
{
    exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    pid_ = -1;
}

std::optional<int> Process::Wait(std::chrono::milliseconds limit)
{
    WaitFor([&] { return !Running(); }, limit);
    return exit_;
}

void Process::Signal(int signal)
{
    if (Running())
        kill(pid_, signal);
}

void Process::Stop()
{
    if (!Running())
        return;
    kill(pid_, SIGTERM);
    if (WaitFor([&] { return !Running(); }, std::chrono::seconds(3)))
        return;
    kill(pid_, SIGKILL);
    int status;
    waitpid(pid_, &status, 0);
    Reaped(status);
}

} // namespace audio
