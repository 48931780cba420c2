// Ends its run right after a canvas's MouseDown has let go of its window
// (window and canvas go inside the press) and after four sounds ten times
// as long as the game's have been let go of while they load. With
// --quit-first it asks to quit before any of that, as a program whose
// start-up quits does. Exit status 0, or 2 when the window stays or a sound
// does not open.

#include "common/WaveBytes.h"

#include <framework/Canvas.h>
#include <framework/FolderItem.h>
#include <framework/Runtime.h>
#include <framework/Sound.h>
#include <framework/Window.h>

#include <QApplication>
#include <QMainWindow>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

using namespace fw;

class ClosingCanvas : public Canvas {
public:
    Ref<fw::Window> holder; // the window's only holder once main lets go

    bool Event_MouseDown(int32_t, int32_t) override
    {
        Ref<fw::Window>(std::move(holder))->Close();
        return false; // not taken: the toolkit hands the press on to the parent
    }
};

int Fail(const std::string& what)
{
    std::fprintf(stderr, "exit_safety: %s\n", what.c_str());
    return 2;
}

int main(int argc, char** argv)
{
    RuntimeInit(argc, argv);
    if (argc > 1 && std::string(argv[1]) == "--quit-first")
        RuntimeQuit();
    int status = 0;
    auto window = New<Window>();
    window->Constructor();
    auto canvas = New<ClosingCanvas>();
    window->AddControl("Canvas", canvas);
    canvas->Width(100);
    canvas->Height(100);
    canvas->holder = window;
    WeakRef<Window> watch(window);
    window = nullptr;
    canvas = nullptr;
    auto* top = static_cast<QMainWindow*>(QApplication::topLevelWidgets().value(0));
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, top->centralWidget()->mapTo(top, QPoint(50, 50)));
    if (watch.Lock())
        status = Fail("the press did not close the window");

    for (double seconds : { 1.1, 6.1, 4.0, 4.2 }) {
        std::string file = std::filesystem::temp_directory_path() / ("sound-" + std::to_string(seconds) + ".wav");
        std::ofstream(file, std::ios::binary) << test::Wave(test::Sine(440, seconds, 0.5, 44100), 44100);
        if (!New<FolderItem>(file)->OpenAsSound())
            status = Fail(file + " does not open as a sound");
        std::filesystem::remove(file);
    }
    int32_t exit = RuntimeExit();
    return status ? status : exit;
}
