#include "game/Menu.h"

#include <framework/AppleMenuItem.h>
#include <framework/QuitMenuItem.h>

#include <climits>
#include <initializer_list>
#include <string>

using namespace fw;

namespace {

// The module's cache of the one bar.
Ref<Menu> implicitInstance;

constexpr int32_t kNoIndex = INT_MIN;

// One node, its properties set in the order the builder always uses.
template <class Item = MenuItem>
Ref<MenuItem> Make(const std::string& name, bool autoEnable, int32_t index, const std::string& text,
    const std::string& shortcut = {})
{
    Ref<MenuItem> node = New<Item>();
    node->Name(name);
    node->AutoEnable(autoEnable);
    if (index != kNoIndex)
        node->Index(index);
    node->Text(text);
    if (!shortcut.empty())
        node->KeyboardShortcut(shortcut);
    return node;
}

// Appends the node under the parent reached from the bar through the given
// names; the parent is looked up afresh for every node.
void Place(MenuItem& bar, const Ref<MenuItem>& node, std::initializer_list<const char*> path)
{
    Ref<MenuItem> parent = Ref<MenuItem>(std::static_pointer_cast<MenuItem>(bar.shared_from_this()));
    for (const char* name : path)
        parent = parent->Child(name);
    parent->Append(node);
}

} // namespace

const ClassRecord& Menu::Record()
{
    static const ClassRecord record { "Menu.Menu", &MenuBar::Record(), {},
        { Method("Constructor", &Menu::Constructor), Method("Untitled1", &Menu::Untitled1),
            Method("Untitled2", &Menu::Untitled2), Method("Untitled3", &Menu::Untitled3),
            Method("Untitled4", &Menu::Untitled4) },
        {} };
    return record;
}

const ClassRecord& Menu::ClassInfo() const { return Record(); }

Ref<Menu> Menu::Instance()
{
    if (!implicitInstance) {
        Ref<Menu> bar = New<Menu>();
        bar->Constructor(); // a failure leaves the cache empty
        implicitInstance = bar;
    }
    return implicitInstance;
}

void Menu::ReleaseInstance() { implicitInstance = nullptr; }

void Menu::Constructor()
{
    Untitled1();
    Untitled2();
    Untitled3();
    Untitled4();
}

void Menu::Untitled1()
{
    Place(*this, Make("UntitledMenu4", true, kNoIndex, "ファイル"), {});
    Place(*this, Make("FileClose", false, kNoIndex, "閉じる", "Cmd+W"), { "UntitledMenu4" });
    Place(*this, Make("UntitledMenu5", true, kNoIndex, "-"), { "UntitledMenu4" });
    Place(*this, Make<QuitMenuItem>("FileQuit", true, kNoIndex, "終了", "Cmd+Q"), { "UntitledMenu4" });
}

void Menu::Untitled2()
{
    Place(*this, Make("UntitledMenu2", true, kNoIndex, "編集"), {});
    Place(*this, Make("EditUndo", false, kNoIndex, "取り消し", "Cmd+Z"), { "UntitledMenu2" });
    Place(*this, Make("UntitledMenu3", true, kNoIndex, "-"), { "UntitledMenu2" });
    Place(*this, Make("EditCut", false, kNoIndex, "カット", "Cmd+X"), { "UntitledMenu2" });
    Place(*this, Make("EditCopy", false, kNoIndex, "コピー", "Cmd+C"), { "UntitledMenu2" });
    Place(*this, Make("EditPaste", false, kNoIndex, "ペースト", "Cmd+V"), { "UntitledMenu2" });
    Place(*this, Make("EditClear", false, kNoIndex, "消去"), { "UntitledMenu2" });
}

void Menu::Untitled3()
{
    Place(*this, Make("UntitledMenu1", true, kNoIndex, "ゲーム"), {});
    Place(*this, Make("GameMenuBackG", true, kNoIndex, "背景"), { "UntitledMenu1" });
    Place(*this, Make("GameMenuBack", false, 0, "無地", "Cmd+0"), { "UntitledMenu1", "GameMenuBackG" });
    Place(*this, Make("GameMenuBack", false, 1, "渦巻", "Cmd+1"), { "UntitledMenu1", "GameMenuBackG" });
    Place(*this, Make("GameMenuBack", false, 2, "年輪", "Cmd+2"), { "UntitledMenu1", "GameMenuBackG" });
    Place(*this, Make("GameMenuBack", false, 3, "歪み", "Cmd+3"), { "UntitledMenu1", "GameMenuBackG" });
    Place(*this, Make("GameMenuBack", false, 4, "混沌", "Cmd+4"), { "UntitledMenu1", "GameMenuBackG" });
    Place(*this, Make("UntitledSeparator", true, kNoIndex, "-"), { "UntitledMenu1" });
    Place(*this, Make("GameMenuSound", true, kNoIndex, "効果音"), { "UntitledMenu1" });
    // Nine squares for the loudest step down to one, then mute.
    Place(*this, Make("GameMenuSoundVol", false, 0, "■■■■■■■■■"), { "UntitledMenu1", "GameMenuSound" });
    Place(*this, Make("GameMenuSoundVol", false, 1, "■■■■■■■■"), { "UntitledMenu1", "GameMenuSound" });
    Place(*this, Make("GameMenuSoundVol", false, 2, "■■■■■■■"), { "UntitledMenu1", "GameMenuSound" });
    Place(*this, Make("GameMenuSoundVol", false, 3, "■■■■■■"), { "UntitledMenu1", "GameMenuSound" });
    Place(*this, Make("GameMenuSoundVol", false, 4, "■■■■■"), { "UntitledMenu1", "GameMenuSound" });
    Place(*this, Make("GameMenuSoundVol", false, 5, "■■■■"), { "UntitledMenu1", "GameMenuSound" });
    Place(*this, Make("GameMenuSoundVol", false, 6, "■■■"), { "UntitledMenu1", "GameMenuSound" });
    Place(*this, Make("GameMenuSoundVol", false, 7, "■■"), { "UntitledMenu1", "GameMenuSound" });
    Place(*this, Make("GameMenuSoundVol", false, 8, "■"), { "UntitledMenu1", "GameMenuSound" });
    Place(*this, Make("GameMenuSoundVol", false, 9, "消音"), { "UntitledMenu1", "GameMenuSound" });
}

void Menu::Untitled4()
{
    Place(*this, Make("UntitledMenu0", true, kNoIndex, "help"), {});
    Place(*this, Make<AppleMenuItem>("AppleAbout", true, kNoIndex, "ほろみねについて..."), { "UntitledMenu0" });
    Place(*this, Make("HelpApp", true, kNoIndex, "ほろみねの説明..."), { "UntitledMenu0" });
}
