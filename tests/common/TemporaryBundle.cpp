#include "common/TemporaryBundle.h"
#include "common/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace test {

namespace {
fs::path OwnExecutable() { return fs::canonical("/proc/self/exe"); }

// Runs the program with the arguments; answers its exit status (-1 when it
// did not exit normally) and everything it wrote.
int Run(const fs::path& program, const std::vector<std::string>& args, std::string& output)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    std::vector<char*> argv;
    std::string name = program.string();
    argv.push_back(name.data());
    std::vector<std::string> copies = args;
    for (auto& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        dup2(fds[1], STDERR_FILENO);
        close(fds[0]);
        close(fds[1]);
        execv(name.c_str(), argv.data());
        _exit(127);
    }
    close(fds[1]);
    std::array<char, 4096> buf;
    ssize_t n;
    while ((n = read(fds[0], buf.data(), buf.size())) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            output.append(buf.data(), static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

bool InTemporaryBundle() { return OwnExecutable().parent_path().filename() == "MacOS"; }

fs::path BundleRoot() { return OwnExecutable().parent_path().parent_path(); }

fs::path BundleResources() { return BundleRoot() / "Resources"; }

void RunCurrentTestInTemporaryBundle(const BundleLaunch& launch)
{
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    const std::string testName = std::string(info->test_suite_name()) + "." + info->name();

    static int serial = 0;
    const fs::path bundle = Home() / ("bundle-" + std::to_string(++serial));
    const fs::path exe = bundle / "MacOS" / "horomine";
    fs::create_directories(exe.parent_path());
    fs::create_directories(bundle / "Resources");
    // A hard link costs nothing where the file systems allow it.
    std::error_code ec;
    fs::create_hard_link(OwnExecutable(), exe, ec);
    if (ec)
        fs::copy_file(OwnExecutable(), exe);

    fs::path start = exe;
    if (launch.viaSymlink) {
        start = Home() / ("elsewhere-" + std::to_string(serial)) / "game";
        fs::create_directories(start.parent_path());
        fs::create_symlink(exe, start);
    }
    std::string output;
    int status = Run(start, { "--gtest_filter=" + testName, "--gtest_brief=1" }, output);
    if (status != 0)
        ADD_FAILURE() << "in the bundle " << bundle << " (exit status " << status << "):\n" << output;
    else if (output.find("[  PASSED  ] 1 test") == std::string::npos)
        ADD_FAILURE() << "the test did not run in the bundle " << bundle << ":\n" << output;
}

} // namespace test
