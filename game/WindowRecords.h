#pragma once

#include <framework/Window.h>

#include <cstdint>
#include <string>

// What the game's windows share: how each finds its single instance, and
// the property records of windows and canvases, alike in all but a few
// values. Every window of the game has a fixed size, no maximise button and
// the menu bar, and white as its BackColor, which only the windows with
// HasBackColor (About and Help, not the main window) show; every canvas
// lies in no array, on no tab page, takes no focus and has no tool tip. The
// values that differ are given by name:
//
//     WindowRecord({ .Placement = 1, .Width = 200, .Height = 80, .Frame = 2, ... })

struct WindowValues {
    int32_t Placement = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Frame = 0;
    bool HasBackColor = false;
    std::string Title;
    bool CloseButton = false;
    bool MinimizeButton = false;
};

struct CanvasValues {
    std::string Name;
    int32_t TabIndex = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
};

// The 21 window keys; Width and Height are also the minimum and maximum.
std::string WindowRecord(const WindowValues& v);
// The 23 canvas keys.
std::string CanvasRecord(const CanvasValues& v);

// The open window of class W, else a new one, built: each window's
// Instance().
template <class W>
fw::Ref<W> ImplicitInstance()
{
    fw::Ref<fw::Window> window = fw::GetImplicitWindow(W::Record().Name);
    if (!window) {
        window = fw::New<W>();
        window->Constructor();
    }
    return fw::Cast<W>(window);
}
