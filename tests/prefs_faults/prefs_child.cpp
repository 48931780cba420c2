// A program that saves settings the way the game does, for tests that kill
// it, starve it of space or refuse its writes, and then look at the file.
//
//   prefs_child [--no-exchange] [--fsize N] [--fsize-kills] COMMAND
//     save DATA           Restore, set the settings to DATA, Save
//     save-bytes N C      the same with N bytes C
//     loop SEED           Restore, then save LoopValue(SEED, 1), (SEED, 2), ...
//                         until killed; prints "ready" after the first save
//     restore             Restore and print the settings
//     race FOLDER TRAP    (run as another user) swap FOLDER for a link to
//                         TRAP and back, and replace any file that appears
//                         in TRAP by one of our own, until SIGTERM; prints
//                         "ready", then the number of swaps
//   --no-exchange   the exchange of two files is refused, as some sandboxes do
//   --fsize N       no file may grow past N bytes; writes past it fail
//   --fsize-kills   ...and the process dies of it, as by default
//
// Exit status: 0 done, 3 IOException (its number on stderr), 4
// NilObjectException, 5 another failure, 2 wrong use.

#include "LoopValues.h"

#include "prefs/ApplPreferences.h"

#include <framework/Exceptions.h>

#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

const char kName[] = "ほろみねの設定";

#if defined(__x86_64__)
const uint32_t kArch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
const uint32_t kArch = AUDIT_ARCH_AARCH64;
#else
const uint32_t kArch = 0;
#endif

// renameat2 with RENAME_EXCHANGE fails with ENOSYS; everything else runs.
bool RefuseExchange()
{
    if (kArch == 0)
        return false;
    struct sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, kArch, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_renameat2, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, args[4])),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, RENAME_EXCHANGE, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (ENOSYS & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    struct sock_fprog program = { static_cast<unsigned short>(sizeof filter / sizeof filter[0]), filter };
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0
           && syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &program) == 0;
}

volatile std::sig_atomic_t g_stop = 0;

// What a user who may rename entries of FOLDER's parent would do to steer
// a save made in FOLDER into TRAP, and plant a file of their own there.
int Race(const std::string& folder, const std::string& trap)
{
    std::signal(SIGTERM, [](int) { g_stop = 1; });
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    long swaps = 0;
    for (; !g_stop; ++swaps) {
        bool took = std::rename(folder.c_str(), (folder + ".moved").c_str()) == 0;
        symlink(trap.c_str(), folder.c_str());
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(trap, ec)) {
            if (std::FILE* f = std::fopen((trap + ".planted").c_str(), "w")) {
                std::fputs("00planted", f);
                std::fclose(f);
                std::rename((trap + ".planted").c_str(), e.path().c_str());
            }
        }
        unlink(folder.c_str());
        if (took)
            std::rename((folder + ".moved").c_str(), folder.c_str());
    }
    std::printf("%ld\n", swaps);
    return 0;
}

int Usage()
{
    std::fprintf(stderr, "usage: prefs_child [--no-exchange] [--fsize N] [--fsize-kills] save DATA | save-bytes N C | loop SEED | restore | race FOLDER TRAP\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    int a = 1;
    bool fsizeKills = false;
    long fsize = -1;
    for (; a < argc && std::strncmp(argv[a], "--", 2) == 0; ++a) {
        std::string opt = argv[a];
        if (opt == "--no-exchange") {
            if (!RefuseExchange()) {
                std::fprintf(stderr, "cannot refuse the exchange here\n");
                return 6;
            }
        } else if (opt == "--fsize" && a + 1 < argc) {
            fsize = std::atol(argv[++a]);
        } else if (opt == "--fsize-kills") {
            fsizeKills = true;
        } else {
            return Usage();
        }
    }
    if (a >= argc)
        return Usage();
    std::string command = argv[a];
    if (command == "race" && a + 2 < argc)
        return Race(argv[a + 1], argv[a + 2]);
    if (fsize >= 0) {
        if (!fsizeKills)
            std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = { static_cast<rlim_t>(fsize), static_cast<rlim_t>(fsize) };
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 5;
    }

    try {
        ApplPreferences prefs(kName, "HRMN");
        prefs.Restore();
        if (command == "save" && a + 1 < argc) {
            prefs.SetData(argv[a + 1]);
            prefs.Save();
        } else if (command == "save-bytes" && a + 2 < argc) {
            prefs.SetData(std::string(static_cast<size_t>(std::atol(argv[a + 1])), argv[a + 2][0]));
            prefs.Save();
        } else if (command == "loop" && a + 1 < argc) {
            uint32_t seed = static_cast<uint32_t>(std::strtoul(argv[a + 1], nullptr, 10));
            for (uint32_t i = 1;; ++i) {
                prefs.SetData(faults::LoopValue(seed, i));
                prefs.Save();
                if (i == 1) {
                    std::fputs("ready\n", stdout);
                    std::fflush(stdout);
                }
            }
        } else if (command == "restore") {
            std::fwrite(prefs.GetData().data(), 1, prefs.GetData().size(), stdout);
        } else {
            return Usage();
        }
    } catch (const fw::IOException& e) {
        std::fprintf(stderr, "IOException %d %s\n", e.ErrorNumber, e.Message.c_str());
        return 3;
    } catch (const fw::NilObjectException& e) {
        std::fprintf(stderr, "NilObjectException %s\n", e.Message.c_str());
        return 4;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 5;
    }
    return 0;
}
