#include "game/Appl.h"
#include "game/FileTypes.h"
#include "game/MainWindow.h"
#include "game/Menu.h"
#include "game/Startup.h"

#include <framework/FileType.h>
#include <framework/Runtime.h>

#include <gtest/gtest.h>

#include <algorithm>

using namespace fw;

TEST(Startup, TheGamesElevenClassesAreRegisteredInOrderAfterTheFrameworksEachAfterItsSuperclass)
{
    RegisterClasses();
    const std::vector<const ClassRecord*>& all = ClassRegistry::All();
    std::vector<std::string> names;
    for (auto c = all.begin(); c != all.end(); ++c) {
        names.push_back((*c)->Name);
        EXPECT_TRUE(!(*c)->Super || std::find(all.begin(), c, (*c)->Super) != c) << (*c)->Name << " before its superclass";
    }
    ASSERT_GT(names.size(), 11u);
    EXPECT_EQ(std::vector<std::string>(names.end() - 11, names.end()),
        (std::vector<std::string> { "Appl", "MainWindow.MainWindow", "Menu.Menu", "TargetSystemDisplay",
            "OffscreenCanvas", "ApplPreferences", "ShadowFiler", "SoundPlayer", "GameField",
            "AboutWindow.AboutWindow", "HelpWindow.HelpWindow" }));
    EXPECT_EQ(names.front(), "Object");
    EXPECT_NE(ClassRegistry::Find("FileType"), nullptr);
}

TEST(Startup, MakesTheFileTypeTheApplicationWithTheSharedBarAndTheMainWindow)
{
    Startup();
    ASSERT_EQ(FileType::RegisteredTypes().size(), 1u);
    EXPECT_EQ(FileType::RegisteredTypes()[0]->Name(), "PrefsData");
    ASSERT_FALSE(App().IsNil());
    EXPECT_FALSE(App()->ItsPrefs.IsNil()) << "Open has run";
    Ref<MainWindow> window = Cast<MainWindow>(GetImplicitWindow("MainWindow.MainWindow"));
    ASSERT_FALSE(window.IsNil());
    EXPECT_EQ(window, MainWindow::Instance());
    EXPECT_EQ(App()->MenuBar(), Ref<fw::MenuBar>(Menu::Instance()));
    EXPECT_EQ(window->MenuBar(), App()->MenuBar());

    ReleaseCaches();
    EXPECT_EQ(WindowCount(), 0);
    EXPECT_TRUE(ClassRegistry::All().empty());
    EXPECT_TRUE(FileType::RegisteredTypes().empty());
    EXPECT_TRUE(FileTypes::pPrefsData.IsNil());
}
