#include "game/Appl.h"
#include "game/MainWindow.h"
#include "game/Menu.h"
#include "game/ResourceCaches.h"

#include <framework/MenuHandler.h>
#include <framework/Runtime.h>

// The application object with the shared menu bar and its menu handlers,
// then the main window; the event loop runs until the application quits.
int main(int argc, char** argv)
{
    fw::RuntimeInit(argc, argv);
    {
        fw::Ref<Appl> app = fw::New<Appl>();
        app->Constructor();
        app->MenuBar(Menu::Instance());
        fw::RuntimeRegisterAppObject(app);
    }
    App()->AddMenuHandler("AppleAbout", fw::BindMenuHandler(App(), &Appl::AppleAbout_Action));
    App()->AddMenuHandler("HelpApp", fw::BindMenuHandler(App(), &Appl::HelpApp_Action));
    App()->AddMenuHandler("GameMenuSoundVol", fw::BindMenuHandler(App(), &Appl::GameMenuSoundVol_Action));
    MainWindow::Instance();
    fw::RuntimeRun();
    // The sounds and cursors belong to the toolkit: they go while it stands.
    ReleaseResourceCaches();
    return fw::RuntimeExit();
}
