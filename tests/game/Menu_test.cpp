#include <game/Menu.h>

#include <framework/AppleMenuItem.h>
#include <framework/QuitMenuItem.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace fw;

namespace {

struct Row {
    std::string name, cls, parent;
    bool autoEnable;
    int32_t index;
    std::string text, shortcut;
};

constexpr int32_t X = INT_MIN; // no index set

std::string Squares(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += "\xE2\x96\xA0";
    return s;
}

// The whole tree in menu order (depth first), as the player sees it.
std::vector<Row> Expected()
{
    std::vector<Row> rows = {
        { "UntitledMenu4", "MenuItem", "", true, X, "ファイル", "" },
        { "FileClose", "MenuItem", "UntitledMenu4", false, X, "閉じる", "Cmd+W" },
        { "UntitledMenu5", "MenuItem", "UntitledMenu4", true, X, "-", "" },
        { "FileQuit", "QuitMenuItem", "UntitledMenu4", true, X, "終了", "Cmd+Q" },
        { "UntitledMenu2", "MenuItem", "", true, X, "編集", "" },
        { "EditUndo", "MenuItem", "UntitledMenu2", false, X, "取り消し", "Cmd+Z" },
        { "UntitledMenu3", "MenuItem", "UntitledMenu2", true, X, "-", "" },
        { "EditCut", "MenuItem", "UntitledMenu2", false, X, "カット", "Cmd+X" },
        { "EditCopy", "MenuItem", "UntitledMenu2", false, X, "コピー", "Cmd+C" },
        { "EditPaste", "MenuItem", "UntitledMenu2", false, X, "ペースト", "Cmd+V" },
        { "EditClear", "MenuItem", "UntitledMenu2", false, X, "消去", "" },
        { "UntitledMenu1", "MenuItem", "", true, X, "ゲーム", "" },
        { "GameMenuBackG", "MenuItem", "UntitledMenu1", true, X, "背景", "" },
        { "GameMenuBack", "MenuItem", "GameMenuBackG", false, 0, "無地", "Cmd+0" },
        { "GameMenuBack", "MenuItem", "GameMenuBackG", false, 1, "渦巻", "Cmd+1" },
        { "GameMenuBack", "MenuItem", "GameMenuBackG", false, 2, "年輪", "Cmd+2" },
        { "GameMenuBack", "MenuItem", "GameMenuBackG", false, 3, "歪み", "Cmd+3" },
        { "GameMenuBack", "MenuItem", "GameMenuBackG", false, 4, "混沌", "Cmd+4" },
        { "UntitledSeparator", "MenuItem", "UntitledMenu1", true, X, "-", "" },
        { "GameMenuSound", "MenuItem", "UntitledMenu1", true, X, "効果音", "" },
    };
    for (int i = 0; i <= 8; ++i)
        rows.push_back({ "GameMenuSoundVol", "MenuItem", "GameMenuSound", false, i, Squares(9 - i), "" });
    rows.push_back({ "GameMenuSoundVol", "MenuItem", "GameMenuSound", false, 9, "消音", "" });
    rows.push_back({ "UntitledMenu0", "MenuItem", "", true, X, "help", "" });
    rows.push_back({ "AppleAbout", "AppleMenuItem", "UntitledMenu0", true, X, "ほろみねについて...", "" });
    rows.push_back({ "HelpApp", "MenuItem", "UntitledMenu0", true, X, "ほろみねの説明...", "" });
    return rows;
}

void Walk(const Ref<MenuItem>& node, const std::string& parent,
    std::vector<std::pair<Ref<MenuItem>, std::string>>& out)
{
    for (int32_t i = 0; i < node->Count(); ++i) {
        out.emplace_back(node->Item(i), parent);
        Walk(node->Item(i), node->Item(i)->Name(), out);
    }
}

} // namespace

TEST(Menu, OneInstanceIsSharedByEveryHolderUntilReleased)
{
    Ref<Menu> a = Menu::Instance();
    Ref<Menu> b = Menu::Instance();
    ASSERT_FALSE(a.IsNil());
    EXPECT_EQ(a, b);
    // An item checked through one holder is checked through the other.
    a->Lookup("GameMenuSoundVol", 3)->Checked(true);
    EXPECT_TRUE(b->Lookup("GameMenuSoundVol", 3)->Checked());
    Menu::ReleaseInstance();
    Ref<Menu> c = Menu::Instance();
    EXPECT_NE(c, a);
    EXPECT_FALSE(c->Lookup("GameMenuSoundVol", 3)->Checked());
    EXPECT_EQ(c->Count(), 4);
}

TEST(Menu, BuildsTheThirtyThreeNodesExactly)
{
    Ref<Menu> bar = Menu::Instance();
    std::vector<std::pair<Ref<MenuItem>, std::string>> nodes;
    Walk(Ref<MenuItem>(bar), "", nodes);
    std::vector<Row> want = Expected();
    ASSERT_EQ(nodes.size(), 33u);
    ASSERT_EQ(want.size(), 33u);
    for (size_t i = 0; i < want.size(); ++i) {
        const Row& w = want[i];
        const Ref<MenuItem>& n = nodes[i].first;
        SCOPED_TRACE("node " + std::to_string(i) + " " + w.name);
        EXPECT_EQ(n->Name(), w.name);
        EXPECT_EQ(n->ClassInfo().Name, w.cls);
        EXPECT_EQ(nodes[i].second, w.parent);
        EXPECT_EQ(n->AutoEnable(), w.autoEnable);
        EXPECT_EQ(n->Index(), w.index);
        EXPECT_EQ(n->Text(), w.text);
        EXPECT_EQ(n->KeyboardShortcut(), w.shortcut);
        EXPECT_FALSE(n->Checked());
    }
}

TEST(Menu, LookupsReachOneAndTwoLevelsBelowATitle)
{
    Ref<Menu> bar = Menu::Instance();
    EXPECT_EQ(bar->Lookup("GameMenuSoundVol", 0)->Text(), Squares(9));
    EXPECT_EQ(bar->Lookup("GameMenuSoundVol", 8)->Text(), Squares(1));
    EXPECT_EQ(bar->Lookup("GameMenuSoundVol", 9)->Text(), "消音");
    Ref<MenuItem> chaos = bar->Lookup("GameMenuBack", 4);
    EXPECT_EQ(chaos->Text(), "混沌");
    EXPECT_EQ(chaos->KeyboardShortcut(), "Cmd+4");
    EXPECT_EQ(bar->Lookup("FileClose")->Parent()->Name(), "UntitledMenu4");
    EXPECT_EQ(bar->Lookup("GameMenuBack", 2)->Parent()->Parent()->Name(), "UntitledMenu1");
    EXPECT_FALSE(Cast<QuitMenuItem>(bar->Lookup("FileQuit")).IsNil());
    EXPECT_FALSE(Cast<AppleMenuItem>(bar->Lookup("AppleAbout")).IsNil());
    EXPECT_TRUE(bar->Lookup("UntitledMenu6").IsNil());
    EXPECT_TRUE(bar->Lookup("GameMenuSoundVol", 10).IsNil());
}
