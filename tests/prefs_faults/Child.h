#pragma once

// Starts prefs_child (or any program) with its output on pipes, and waits
// for it with a time limit, so that a test never hangs on a child.

#include "common/Mounts.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

namespace faults {

struct Outcome {
    bool timedOut = false;
    int exitCode = -1; // when it exited
    int signal = 0;    // when a signal ended it
    std::string out;
    std::string err;
};

class Child {
public:
    // Starts argv[0] with the arguments; "" for program means prefs_child.
    explicit Child(std::vector<std::string> argv)
    {
        int out[2], err[2];
        if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        std::vector<char*> args;
        for (auto& a : argv)
            args.push_back(a.data());
        args.push_back(nullptr);
        if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~Child()
    {
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0)
            close(out_);
        if (err_ >= 0)
            close(err_);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Started() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }

    // Reads standard output until it holds the line; false at its end or
    // after the time limit.
    bool WaitForLine(const std::string& line, int timeoutMs)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (outcome_.out.find(line + "\n") == std::string::npos) {
            int left = Left(end);
            if (left <= 0 || Pump(left, true) == 0)
                return false;
        }
        return true;
    }

    void Kill(int sig) { kill(pid_, sig); }

    // Waits for the end, killing the child after the time limit.
    Outcome Wait(int timeoutMs)
    {
        auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                reaped_ = true;
                while (Pump(0, false) > 0) { }
                if (WIFEXITED(status))
                    outcome_.exitCode = WEXITSTATUS(status);
                if (WIFSIGNALED(status))
                    outcome_.signal = WTERMSIG(status);
                return outcome_;
            }
            int left = Left(end);
            if (left <= 0) {
                outcome_.timedOut = true;
                kill(pid_, SIGKILL);
                waitpid(pid_, nullptr, 0);
                reaped_ = true;
                return outcome_;
            }
            Pump(std::min(left, 10), false);
        }
    }

private:
    static int Left(std::chrono::steady_clock::time_point end)
    {
        return static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()).count());
    }

    // Moves what the pipes hold into the outcome: the bytes read, 0 once
    // standard output has ended, -1 when nothing came within the time limit.
    int Pump(int timeoutMs, bool outOnly)
    {
        pollfd fds[2] = { { out_, POLLIN, 0 }, { outOnly ? -1 : err_, POLLIN, 0 } };
        if (fds[0].fd < 0 && fds[1].fd < 0) {
            if (timeoutMs > 0)
                poll(nullptr, 0, timeoutMs);
            return out_ < 0 ? 0 : -1;
        }
        if (poll(fds, 2, timeoutMs) <= 0)
            return -1;
        int got = 0;
        char buf[4096];
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            ssize_t n = read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                (i == 0 ? outcome_.out : outcome_.err).append(buf, static_cast<size_t>(n));
                got += static_cast<int>(n);
            } else if (n == 0) {
                close(fds[i].fd);
                (i == 0 ? out_ : err_) = -1;
            }
        }
        return got > 0 ? got : (out_ < 0 ? 0 : -1);
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    bool reaped_ = false;
    Outcome outcome_;
};

// The ErrorNumber of the IOException that ended a child (exit status 3).
inline int IOErrorNumber(const Outcome& o)
{
    int n = 0;
    return std::sscanf(o.err.c_str(), "IOException %d", &n) == 1 ? n : 0;
}

// The user the tests run children as when they need a second one.
constexpr uid_t kOtherUser = 65534;

// The prefix that runs a program as kOtherUser; empty, with why, where that
// cannot be had (root ignores permission bits, so the tests run as root and
// switch; not inside a user namespace of our own).
inline std::vector<std::string> AsOtherUser(std::string& why)
{
    if (geteuid() != 0 || test::InOwnUserNamespace())
        why = "needs root to run a child as another user";
    else if (access("/usr/bin/setpriv", X_OK) != 0)
        why = "needs setpriv (util-linux)";
    else
        return { "/usr/bin/setpriv", "--reuid=" + std::to_string(kOtherUser), "--regid=" + std::to_string(kOtherUser),
            "--clear-groups" };
    return {};
}

// Runs prefs_child with the arguments to its end.
inline Outcome RunChild(const std::vector<std::string>& args, int timeoutMs = 20000, const std::vector<std::string>& prefix = {})
{
    std::vector<std::string> argv = prefix;
    argv.push_back(PREFS_CHILD);
    argv.insert(argv.end(), args.begin(), args.end());
    Child child(argv);
    if (!child.Started())
        return {};
    return child.Wait(timeoutMs);
}

} // namespace faults
