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
    const std::vector<std::pair<std::string, std::string>> game { { "Appl", "Application" },
        { "MainWindow.MainWindow", "Window" }, { "Menu.Menu", "MenuBar" }, { "TargetSystemDisplay", "Canvas" },
        { "OffscreenCanvas", "Canvas" }, { "ApplPreferences", "Object" }, { "ShadowFiler", "Object" },
        { "SoundPlayer", "Object" }, { "GameField", "OffscreenCanvas" }, { "AboutWindow.AboutWindow", "Window" },
        { "HelpWindow.HelpWindow", "Window" } };
    ASSERT_GT(all.size(), game.size());
    const size_t first = all.size() - game.size();
    for (size_t i = 0; i < game.size(); ++i) {
        EXPECT_EQ(all[first + i]->Name, game[i].first);
        ASSERT_NE(all[first + i]->Super, nullptr);
        EXPECT_EQ(all[first + i]->Super->Name, game[i].second);
    }
    for (size_t i = 0; i < all.size(); ++i) {
        const long super = all[i]->Super ? std::find(all.begin(), all.end(), all[i]->Super) - all.begin() : -1;
        EXPECT_LT(super, static_cast<long>(i)) << all[i]->Name << " comes before its superclass";
    }
    EXPECT_EQ(all.front()->Name, "Object");
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
