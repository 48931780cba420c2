#include "game/Appl.h"

#include "game/AboutWindow.h"
#include "game/HelpWindow.h"
#include "game/SoundResources.h"
#include "prefs/ApplPreferences.h"
#include "sound/SoundPlayer.h"

#include <framework/MenuBar.h>
#include <framework/Runtime.h>
#include <framework/WaitCursor.h>

using namespace fw;

namespace {
const char kSettingsName[] = "ほろみねの設定";
const char kCreator[] = "HRMN";
// Byte 1: the volume code; byte 2: the background digit.
const char kDefaults[] = "11";
constexpr int32_t kVolumeByte = 1;
constexpr int32_t kVolumeItems = 10;
} // namespace

Appl::Appl() = default;

Appl::~Appl()
{
    // The settings go first, then the player; nothing is saved here.
    ItsPrefs = nullptr;
    ItsSoundPlayer = nullptr;
}

const ClassRecord& Appl::Record()
{
    static const ClassRecord record { "Appl", &Application::Record(),
        { Property("ItsPrefs", &Appl::ItsPrefs, Scope::Public),
            Property("ItsSoundPlayer", &Appl::ItsSoundPlayer, Scope::Public) },
        { Method("Event_Close", &Appl::Event_Close), Method("Event_EnableMenuItems", &Appl::Event_EnableMenuItems),
            Method("Event_Open", &Appl::Event_Open), Method("AppleAbout_Action", &Appl::AppleAbout_Action),
            Method("HelpApp_Action", &Appl::HelpApp_Action), Method("GameMenuSoundVol_Action", &Appl::GameMenuSoundVol_Action),
            Method("Constructor", &Appl::Constructor) },
        {} };
    return record;
}

const ClassRecord& Appl::ClassInfo() const { return Record(); }

void Appl::Constructor() {}

void Appl::Event_Open()
{
    DisableAutoWaitCursor();
    // Back on however Open ends; an exception then passes on.
    struct WaitCursorBack {
        ~WaitCursorBack() { EnableAutoWaitCursor(); }
    } back;
    Ref<ApplPreferences> prefs = New<ApplPreferences>(kSettingsName, kCreator);
    ItsPrefs = prefs;
    ItsPrefs->Restore();
    (void)ItsPrefs->DefaultData(kDefaults);
    Ref<SoundPlayer> player = New<SoundPlayer>();
    ItsSoundPlayer = player;
    ItsSoundPlayer->RestoreData(ItsPrefs->GetPartData(kVolumeByte, 1));
    AutoQuit(true);
}

void Appl::Event_Close() { ItsPrefs->Save(); }

void Appl::Event_EnableMenuItems()
{
    const int32_t current = ItsSoundPlayer->RefVolume();
    for (int32_t i = 0; i < kVolumeItems; ++i) {
        if (i == current) {
            // Only the application handles these items, so the menu rule
            // leaves the current one disabled: it cannot be chosen again.
            GameMenuSoundVol(i)->Checked(true);
        } else {
            GameMenuSoundVol(i)->Checked(false);
            GameMenuSoundVol(i)->Enabled(true);
        }
        YieldToBackground();
    }
}

bool Appl::AppleAbout_Action()
{
    AboutWindow::Instance()->ShowModal();
    return true;
}

bool Appl::HelpApp_Action()
{
    HelpWindow::Instance()->Show();
    return true;
}

bool Appl::GameMenuSoundVol_Action(int32_t index)
{
    ItsSoundPlayer->SetVolume(index);
    ItsSoundPlayer->Play(SoundVolSnd());
    ItsPrefs->SetPartData(ItsSoundPlayer->SaveData(), kVolumeByte);
    return true;
}

Ref<Appl> App() { return Cast<Appl>(GetAppObject()); }

Ref<MenuItem> GameMenuSoundVol(int32_t index)
{
    return Cast<MenuItem>(App()->MenuBar()->Lookup("GameMenuSoundVol", index));
}
