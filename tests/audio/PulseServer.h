#pragma once

#include "audio/Process.h"

#include <cstdint>
#include <filesystem>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace audio {

// A PulseAudio server of the test's own, on a private socket, whose only
// output is a null sink (mono, 16 bits, 44.1 kHz), and a recording of that
// sink's monitor. Sounds played by this process reach it once Start has
// pointed PULSE_SERVER at it.
class PulseServer {
public:
    static constexpr int kRate = 44100;

    explicit PulseServer(std::filesystem::path dir);
    ~PulseServer();

    // Starts the server and the recording; false, with Why(), when either
    // cannot be had.
    bool Start();
    const std::string& Why() const { return why_; }

    // Samples recorded so far.
    size_t Recorded() const;
    std::vector<int16_t> Samples(size_t from, size_t to) const;
    // The null sink gives exact zeros while nothing plays.
    static bool Loud(int16_t sample) { return std::abs(sample) > 64; }
    // What was recorded since `from`, once something has sounded and been
    // followed by 0.3 s of silence; nothing before.
    std::optional<std::vector<int16_t>> Ended(size_t from) const;

    // Stops the recording and the server.
    void Stop();

private:
    std::filesystem::path dir_;
    std::filesystem::path socket_;
    std::filesystem::path recording_;
    std::unique_ptr<Process> server_;
    std::unique_ptr<Process> recorder_;
    std::string why_;

    bool Fail(const std::string& why);
    std::string LogTail(const std::filesystem::path& log) const;
};

} // namespace audio
