#pragma once

// Mounts for tests that need a file system of a given kind (ramfs refuses
// user attributes, a small tmpfs fills up, a read-only bind mount refuses
// writes). The mounts live in a mount namespace of this test process, so
// they vanish when the process ends, however it ends; each Mount also
// detaches itself when it goes out of scope. Where no namespace can be had
// (no privilege, no user namespaces), the test skips with the reason.

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace test {

// Whether this process runs in a user namespace of its own (set up by
// PrivateMounts), in which only its own user exists.
inline bool& InOwnUserNamespace()
{
    static bool inOwn = false;
    return inOwn;
}

// "" once this process (and whatever it starts from now on) has mounts of
// its own; else why it cannot.
inline std::string PrivateMounts()
{
    static std::string why = [] {
        auto privatise = []() -> std::string {
            if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
                return std::string("cannot make the mounts private: ") + std::strerror(errno);
            return {};
        };
        if (unshare(CLONE_NEWNS) == 0)
            return privatise();
        int first = errno;
        // Without privilege a user namespace of our own may still allow it.
        uid_t uid = geteuid();
        gid_t gid = getegid();
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return std::string("no mount namespace: ") + std::strerror(first) + ", no user namespace: " + std::strerror(errno);
        std::ofstream("/proc/self/setgroups") << "deny";
        std::ofstream("/proc/self/uid_map") << uid << ' ' << uid << " 1";
        std::ofstream("/proc/self/gid_map") << gid << ' ' << gid << " 1";
        InOwnUserNamespace() = true;
        return privatise();
    }();
    return why;
}

class Mount {
public:
    // Mounts a file system of that type on target (made when missing);
    // nullptr and why when it cannot.
    static std::unique_ptr<Mount> Make(const std::string& type, const std::filesystem::path& target,
        const std::string& options, std::string& why)
    {
        why = PrivateMounts();
        if (!why.empty())
            return nullptr;
        std::filesystem::create_directories(target);
        if (mount(type.c_str(), target.c_str(), type.c_str(), 0, options.empty() ? nullptr : options.c_str()) != 0) {
            why = "cannot mount " + type + ": " + std::strerror(errno);
            return nullptr;
        }
        return std::unique_ptr<Mount>(new Mount(target));
    }

    // Mounts folder on itself, read-only.
    static std::unique_ptr<Mount> ReadOnlyBind(const std::filesystem::path& folder, std::string& why)
    {
        why = PrivateMounts();
        if (!why.empty())
            return nullptr;
        if (mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) {
            why = std::string("cannot bind: ") + std::strerror(errno);
            return nullptr;
        }
        auto m = std::unique_ptr<Mount>(new Mount(folder));
        if (mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0) {
            why = std::string("cannot make the bind read-only: ") + std::strerror(errno);
            return nullptr;
        }
        return m;
    }

    ~Mount() { umount2(target_.c_str(), MNT_DETACH); }
    Mount(const Mount&) = delete;
    Mount& operator=(const Mount&) = delete;

private:
    explicit Mount(std::filesystem::path target) : target_(std::move(target)) {}
    std::filesystem::path target_;
};

} // namespace test
