#include "common/MediaFiles.h"
#include "common/TemporaryBundle.h"
#include "common/TestSupport.h"

#include <framework/Application.h>
#include <framework/ApplicationBundle.h>
#include <framework/MouseCursor.h>
#include <framework/ResourceFork.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace fw;

namespace {
std::string CursorFile(int16_t hotV)
{
    uint16_t rows[16] = {};
    rows[0] = 0x8000;
    return test::ResourceFileBytes({ { "CURS", 168, test::CursorData(rows, rows, hotV, 0) } });
}
} // namespace

TEST(ApplicationBundle, ResourcesBesideTheExecutablesFolder)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    Ref<FolderItem> exe = GetApplicationExecutable();
    ASSERT_TRUE(exe);
    EXPECT_EQ(exe->NativePath(), (test::BundleRoot() / "MacOS" / "horomine").string());
    Ref<FolderItem> resources = GetApplicationBundleResources();
    ASSERT_TRUE(resources);
    EXPECT_EQ(resources->NativePath(), test::BundleResources().string());
}

TEST(ApplicationBundle, FoundFromTheRealPathWhenStartedThroughALink)
{
    HOROMINE_IN_TEMPORARY_BUNDLE_WITH(test::BundleLaunch { .viaSymlink = true });
    Ref<FolderItem> resources = GetApplicationBundleResources();
    ASSERT_TRUE(resources);
    EXPECT_EQ(resources->NativePath(), test::BundleResources().string());
}

TEST(ApplicationBundle, NilWhileThereIsNoResourcesFolder)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    fs::remove_all(test::BundleResources());
    EXPECT_FALSE(GetApplicationBundleResources());
    test::WriteFile(test::BundleResources(), "a file, not a folder");
    EXPECT_FALSE(GetApplicationBundleResources());
    fs::remove(test::BundleResources());
    fs::create_directory(test::BundleResources());
    EXPECT_TRUE(GetApplicationBundleResources());
}

TEST(Application, RegisteredObjectIsTheAppObject)
{
    EXPECT_FALSE(GetAppObject());
    auto app = New<Application>();
    RuntimeRegisterAppObject(app);
    EXPECT_EQ(GetAppObject(), app);
    RuntimeRegisterAppObject(nullptr);
    EXPECT_FALSE(GetAppObject());
}

TEST(Application, ResourceForkIsTheBundlesResourceFileReadOnEachCall)
{
    HOROMINE_IN_TEMPORARY_BUNDLE();
    auto app = New<Application>();
    const fs::path file = test::BundleResources() / "horomine.rsrc";
    EXPECT_EQ(Application::ResourceFileName(), "horomine.rsrc");

    // Missing or damaged: an empty fork, never nil.
    Ref<ResourceFork> fork = app->ResourceFork();
    ASSERT_TRUE(fork);
    EXPECT_EQ(fork->ResourceCount(), 0);
    test::WriteFile(file, CursorFile(3).substr(0, 100));
    ASSERT_TRUE(app->ResourceFork());
    EXPECT_EQ(app->ResourceFork()->ResourceCount(), 0);

    test::WriteFile(file, CursorFile(3));
    Ref<MouseCursor> cursor = app->ResourceFork()->GetCursor(168);
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->HotSpotY(), 3);
    test::WriteFile(file, CursorFile(9));
    EXPECT_EQ(app->ResourceFork()->GetCursor(168)->HotSpotY(), 9) << "a changed file is read again";

    fs::remove_all(test::BundleResources());
    ASSERT_TRUE(app->ResourceFork());
    EXPECT_EQ(app->ResourceFork()->ResourceCount(), 0);
}
