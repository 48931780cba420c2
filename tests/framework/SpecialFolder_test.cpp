#include "common/TestSupport.h"

#include <framework/Exceptions.h>
#include <framework/SpecialFolder.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

using namespace fw;
namespace fs = std::filesystem;

TEST(SpecialFolder, PreferencesIsTheConfigHome)
{
    EXPECT_EQ(SpecialFolder::Preferences()->NativePath(), (test::Home() / ".config").string());

    setenv("XDG_CONFIG_HOME", (test::Home() / "elsewhere" / "conf").c_str(), 1);
    auto made = SpecialFolder::Preferences();
    EXPECT_EQ(made->NativePath(), (test::Home() / "elsewhere" / "conf").string());
    EXPECT_TRUE(made->Directory()) << "made when missing";
    struct stat st;
    ASSERT_EQ(stat(made->NativePath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    setenv("XDG_CONFIG_HOME", "relative/conf", 1);
    EXPECT_EQ(SpecialFolder::Preferences()->NativePath(), (test::Home() / ".config").string())
        << "a relative value is ignored";
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SpecialFolder::Preferences()->NativePath(), (test::Home() / ".config").string());
}

TEST(SpecialFolder, APreferencesFolderThatCannotBeMadeRaises)
{
    test::WriteFile(test::Home() / "file", "");
    setenv("XDG_CONFIG_HOME", (test::Home() / "file" / "conf").c_str(), 1);
    EXPECT_THROW(SpecialFolder::Preferences(), IOException);
}
