#include "common/TestSupport.h"

#include <framework/Runtime.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {
fs::path g_home;
}

const fs::path& test::Home() { return g_home; }

// Every test process gets a HOME of its own, so no test sees another's
// settings or the developer's real ones, and runs Qt without a display
// unless told otherwise.
int main(int argc, char** argv)
{
    std::string templ = (fs::temp_directory_path() / "horomine-test-XXXXXX").string();
    if (!mkdtemp(templ.data()))
        return 2;
    g_home = templ;
    fs::create_directories(g_home / ".config");
    fs::create_directories(g_home / ".cache");
    fs::create_directories(g_home / "tmp");
    setenv("HOME", g_home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (g_home / ".config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (g_home / ".cache").c_str(), 1);
    setenv("TMPDIR", (g_home / "tmp").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (g_home / "tmp").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // No test sounds on the developer's speakers or starts a sound server;
    // the audio tests point this at a server of their own.
    setenv("PULSE_SERVER", (g_home / "no-sound-server").c_str(), 0);

    testing::InitGoogleTest(&argc, argv);
    fw::RuntimeInit(argc, argv);
    int result = RUN_ALL_TESTS();
    fw::RuntimeExit();

    std::error_code ec;
    fs::remove_all(g_home, ec);
    return result;
}
