#include "game/Startup.h"

#include <framework/Runtime.h>

int main(int argc, char** argv)
{
    fw::RuntimeInit(argc, argv);
    RegisterClasses();
    Main();
    ReleaseCaches();
    return fw::RuntimeExit();
}
