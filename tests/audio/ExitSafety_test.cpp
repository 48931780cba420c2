#include "audio/Process.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

// The program (exit_safety.cpp) that ends while its sounds still load exits
// every time, promptly and with nothing reported: the toolkit's sample cache,
// torn down at exit, hangs waiting for its loader when a sample still loads
// then. The samples load without a sound server. Every other run asks to
// quit first: the exit's wait must hold all the same.
TEST(ExitSafety, AProgramThatEndsWhileSoundsLoadExits)
{
    const std::string noServer = "PULSE_SERVER=unix:" + (test::Home() / "no-sound-server").string();
    const auto err = test::Home() / "stderr";
    for (int run = 0; run < 30; ++run) {
        std::vector<std::string> args;
        if (run % 2)
            args.push_back("--quit-first");
        audio::Process child(HOROMINE_EXIT_SAFETY, args, { noServer }, test::Home() / "stdout", err);
        ASSERT_TRUE(child.Wait(std::chrono::seconds(5)) == 0) << "run " << run << ": " << test::ReadFile(err);
        ASSERT_EQ(test::ReadFile(err).find("horomine:"), std::string::npos) << test::ReadFile(err);
    }
}
