#pragma once

#include <filesystem>

// The program finds its Resources folder from the real path of its own
// executable, so a test of anything that reads the bundle runs in a copy of
// its test program placed in a temporary bundle:
//
//     TEST(Suite, Name)
//     {
//         HOROMINE_IN_TEMPORARY_BUNDLE();
//         ... runs in <bundle>/MacOS/horomine, with <bundle>/Resources empty
//     }
//
// The macro runs just this test in the copy, as a process of its own, and
// passes or fails with it; the copy runs the rest of the body.
namespace test {

struct BundleLaunch {
    // Start the copy through a symbolic link from another folder.
    bool viaSymlink = false;
};

// True in a test program that runs from a bundle's MacOS folder.
bool InTemporaryBundle();
// The bundle this process runs from (the folder holding MacOS).
std::filesystem::path BundleRoot();
std::filesystem::path BundleResources();
// Makes a bundle in the test HOME, runs the current test there and reports
// its output as a failure unless it passes.
void RunCurrentTestInTemporaryBundle(const BundleLaunch& launch = {});

} // namespace test

#define HOROMINE_IN_TEMPORARY_BUNDLE_WITH(launch)                                                                     \
    do {                                                                                                              \
        if (!test::InTemporaryBundle()) {                                                                             \
            test::RunCurrentTestInTemporaryBundle(launch);                                                            \
            return;                                                                                                   \
        }                                                                                                             \
    } while (0)
#define HOROMINE_IN_TEMPORARY_BUNDLE() HOROMINE_IN_TEMPORARY_BUNDLE_WITH(test::BundleLaunch {})
