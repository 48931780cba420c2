#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace audio {

// Asks check again every few milliseconds until it holds; false when limit
// passes first.
bool WaitFor(const std::function<bool()>& check, std::chrono::milliseconds limit);

// A child program that dies with the test process: it gets SIGKILL should
// the test crash or be killed, and the destructor ends it otherwise.
class Process {
public:
    // Runs program (looked up in PATH) with args and the extra environment
    // entries ("NAME=value", overriding the test's own), its standard
    // output to stdoutFile and its standard error to stderrFile, with every
    // signal that can be reset at its default action and none blocked.
    Process(const std::string& program, const std::vector<std::string>& args,
        const std::vector<std::string>& environment, const std::filesystem::path& stdoutFile,
        const std::filesystem::path& stderrFile);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Started() const { return pid_ > 0; }
    // Still running (not exited, not reaped).
    bool Running();
    // SIGTERM, then SIGKILL if it has not gone within a few seconds.
    void Stop();
    // Waits up to limit for the child to end; its exit status, 128 + the
    // signal when a signal ended it, or nothing while it still runs.
    std::optional<int> Wait(std::chrono::milliseconds limit);
    int Pid() const { return pid_; }
    // Sends it a signal, while it runs.
    void Signal(int signal);

private:
    int pid_ = -1;
    std::optional<int> exit_;

    void Reaped(int status);
};

} // namespace audio
