#include "game/ResourceCaches.h"

#include <framework/Runtime.h>
#include <framework/Window.h>

namespace {
// Until the start-up sequence stands, the program shows its empty game
// window and ends when it closes.
class EmptyGameWindow : public fw::Window {
public:
    void Layout() override
    {
        Width(480);
        Height(300);
        Title("ほろみね");
    }
    void Event_Close() override { fw::RuntimeQuit(0); }
};
} // namespace

int main(int argc, char** argv)
{
    fw::RuntimeInit(argc, argv);
    fw::New<EmptyGameWindow>()->Constructor();
    fw::RuntimeRun();
    // The sounds and cursors belong to the toolkit: they go while it stands.
    ReleaseResourceCaches();
    return fw::RuntimeExit();
}
