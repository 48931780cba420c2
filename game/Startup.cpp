#include "game/Startup.h"

#include "game/AboutWindow.h"
#include "game/Appl.h"
#include "game/FileTypes.h"
#include "game/GameField.h"
#include "game/HelpWindow.h"
#include "game/MainWindow.h"
#include "game/Menu.h"
#include "game/ResourceCaches.h"
#include "offscreen/OffscreenCanvas.h"
#include "offscreen/TargetSystemDisplay.h"
#include "prefs/ApplPreferences.h"
#include "prefs/ShadowFiler.h"
#include "sound/SoundPlayer.h"

#include <framework/Dispatch.h>
#include <framework/MenuHandler.h>
#include <framework/Runtime.h>

#include <exception>

using namespace fw;

void RegisterClasses()
{
    RegisterFrameworkClasses();
    for (const ClassRecord* r : { &Appl::Record(), &MainWindow::Record(), &Menu::Record(),
             &TargetSystemDisplay::Record(), &OffscreenCanvas::Record(), &ApplPreferences::Record(),
             &ShadowFiler::Record(), &SoundPlayer::Record(), &GameField::Record(), &AboutWindow::Record(),
             &HelpWindow::Record() })
        ClassRegistry::Register(*r);
}

void Main()
{
    try {
        RuntimeSetExceptionHelper(CallFunctionWithExceptionHandling);
        RunFrameworkInitialization(Startup);
        RuntimeRun();
    } catch (...) {
        UnhandledException(std::current_exception());
    }
}

void Startup()
{
    RuntimeInitExternalClasses();
    InitPluginEntrypoints();
    InitFileTypes();
    NewAppInstance();
    ApplicationAddMenuHandlers();
    MakeDefaultView();
}

void InitFileTypes() { FileTypes::Initialize(); }

void NewAppInstance()
{
    Ref<Appl> app = New<Appl>();
    app->Constructor();
    app->MenuBar(Menu::Instance());
    RuntimeRegisterAppObject(app);
}

void ApplicationAddMenuHandlers()
{
    App()->AddMenuHandler("AppleAbout", BindMenuHandler(App(), &Appl::AppleAbout_Action));
    App()->AddMenuHandler("HelpApp", BindMenuHandler(App(), &Appl::HelpApp_Action));
    App()->AddMenuHandler("GameMenuSoundVol", BindMenuHandler(App(), &Appl::GameMenuSoundVol_Action));
}

void MakeDefaultView() { MainWindow::Instance(); }

void ReleaseCaches()
{
    // The sounds and cursors belong to the toolkit: they go while it stands.
    ReleaseResourceCaches();
    // The open windows are also the single instances the framework finds.
    RuntimeReleaseWindows();
    ClassRegistry::Clear();
    Menu::ReleaseInstance();
    FileTypes::pPrefsData = nullptr;
}
