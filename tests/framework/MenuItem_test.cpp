#include <framework/AppleMenuItem.h>
#include <framework/MenuBar.h>
#include <framework/MenuHandler.h>
#include <framework/QuitMenuItem.h>

#include <gtest/gtest.h>

#include <climits>

using namespace fw;

namespace {
Ref<MenuItem> Node(const std::string& name, const std::string& text, int32_t index = INT_MIN)
{
    auto m = New<MenuItem>();
    m->Name(name);
    m->Text(text);
    if (index != INT_MIN)
        m->Index(index);
    return m;
}

// bar: File (Close, -, Quit), Game (Back (B0, B1), Sound (V0, V1))
Ref<MenuBar> SampleTree()
{
    auto bar = New<MenuBar>();
    bar->Append(Node("File", "File"));
    bar->Child("File")->Append(Node("FileClose", "Close"));
    bar->Child("File")->Append(Node("Sep", "-"));
    bar->Append(Node("Game", "Game"));
    bar->Child("Game")->Append(Node("Back", "Background"));
    bar->Child("Game")->Child("Back")->Append(Node("B", "plain", 0));
    bar->Child("Game")->Child("Back")->Append(Node("B", "spiral", 1));
    bar->Child("Game")->Append(Node("Sound", "Sound"));
    bar->Child("Game")->Child("Sound")->Append(Node("V", "loud", 0));
    bar->Child("Game")->Child("Sound")->Append(Node("V", "soft", 1));
    return bar;
}
} // namespace

TEST(MenuItem, StartsEnabledUncheckedAutoEnabledWithoutIndex)
{
    auto m = New<MenuItem>();
    EXPECT_TRUE(m->AutoEnable());
    EXPECT_TRUE(m->Enabled());
    EXPECT_FALSE(m->Checked());
    EXPECT_EQ(m->Index(), INT_MIN);
    EXPECT_EQ(m->Text(), "");
    EXPECT_EQ(m->KeyboardShortcut(), "");
    m->Enabled(false);
    m->Enable();
    EXPECT_TRUE(m->Enabled());
}

TEST(MenuItem, ChildFindsOnlyDirectChildrenInAppendOrder)
{
    Ref<MenuBar> bar = SampleTree();
    ASSERT_EQ(bar->Count(), 2);
    EXPECT_EQ(bar->Item(0)->Name(), "File");
    EXPECT_EQ(bar->Item(1)->Name(), "Game");
    EXPECT_TRUE(bar->Item(2).IsNil());
    EXPECT_TRUE(bar->Item(-1).IsNil());
    EXPECT_TRUE(bar->Child("FileClose").IsNil()); // one level down: not a child of the bar
    EXPECT_EQ(bar->Child("File")->Child("FileClose")->Text(), "Close");
    EXPECT_EQ(bar->Child("Game")->Child("Back")->Parent(), bar->Child("Game"));
    EXPECT_TRUE(bar->Parent().IsNil());
}

TEST(MenuItem, LookupReachesEveryLevelAndTellsIndexesApart)
{
    Ref<MenuBar> bar = SampleTree();
    EXPECT_EQ(bar->Lookup("FileClose")->Text(), "Close");
    EXPECT_EQ(bar->Lookup("Game")->Text(), "Game");
    EXPECT_EQ(bar->Lookup("B")->Text(), "plain"); // first in menu order
    EXPECT_EQ(bar->Lookup("B", 1)->Text(), "spiral");
    EXPECT_EQ(bar->Lookup("V", 0)->Text(), "loud");
    EXPECT_EQ(bar->Lookup("V", 1)->Text(), "soft");
    EXPECT_TRUE(bar->Lookup("V", 2).IsNil());
    EXPECT_TRUE(bar->Lookup("Nothing").IsNil());
    // An item without an index is not found under index 0.
    EXPECT_TRUE(bar->Lookup("FileClose", 0).IsNil());
    // Below a node only.
    EXPECT_TRUE(bar->Child("File")->Lookup("B").IsNil());
}

TEST(MenuItem, AppendMovesAnItemAndRefusesNilAndCycles)
{
    Ref<MenuBar> bar = SampleTree();
    Ref<MenuItem> close = bar->Lookup("FileClose");
    bar->Child("Game")->Append(close);
    EXPECT_TRUE(bar->Child("File")->Child("FileClose").IsNil());
    EXPECT_EQ(bar->Child("Game")->Item(2), close);
    EXPECT_EQ(close->Parent(), bar->Child("Game"));

    EXPECT_THROW(bar->Append(Ref<MenuItem>()), NilObjectException);
    Ref<MenuItem> game = bar->Child("Game");
    EXPECT_THROW(game->Child("Back")->Append(game), RuntimeException);
    EXPECT_THROW(game->Append(game), RuntimeException);
    EXPECT_EQ(bar->Count(), 2);
    EXPECT_EQ(game->Parent(), Ref<MenuItem>(bar));
}

TEST(MenuItem, ChildrenOutliveTheirParentSafely)
{
    Ref<MenuItem> kept;
    {
        Ref<MenuBar> bar = SampleTree();
        kept = bar->Lookup("B", 1);
    }
    EXPECT_TRUE(kept->Parent().IsNil());
    EXPECT_EQ(kept->Text(), "spiral");
}

TEST(MenuItem, ClassesAndRecords)
{
    EXPECT_EQ(MenuBar::Record().Super, &MenuItem::Record());
    EXPECT_EQ(QuitMenuItem::Record().Super, &MenuItem::Record());
    EXPECT_EQ(AppleMenuItem::Record().Super, &MenuItem::Record());
    EXPECT_EQ(New<QuitMenuItem>()->ClassInfo().Name, "QuitMenuItem");
    Ref<MenuItem> about = New<AppleMenuItem>();
    EXPECT_FALSE(Cast<AppleMenuItem>(about).IsNil());
    EXPECT_TRUE(Cast<QuitMenuItem>(about).IsNil());
    EXPECT_FALSE(about->Action()); // a plain command does nothing by itself
    for (const char* p : { "Name", "AutoEnable", "Index", "Text", "KeyboardShortcut", "Checked", "Enabled" })
        EXPECT_NE(MenuItem::Record().FindProperty(p), nullptr) << p;
}

TEST(MenuHandler, PassesTheIndexOnlyToHandlersThatTakeIt)
{
    auto item = New<MenuItem>();
    item->Index(7);
    int32_t got = -1;
    int plainCalls = 0;
    MenuHandler indexed = [&](int32_t i) { got = i; return true; };
    MenuHandler plain = [&] { ++plainCalls; return false; };
    EXPECT_TRUE(indexed.TakesIndex());
    EXPECT_FALSE(plain.TakesIndex());
    EXPECT_TRUE(indexed.Invoke(*item));
    EXPECT_EQ(got, 7);
    EXPECT_FALSE(plain.Invoke(*item));
    EXPECT_EQ(plainCalls, 1);
    EXPECT_FALSE(MenuHandler());
    EXPECT_FALSE(MenuHandler().Invoke(*item));
}
