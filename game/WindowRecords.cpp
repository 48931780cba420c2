#include "game/WindowRecords.h"

#include <framework/RecordWriter.h>

#include <climits>

using namespace fw;

std::string WindowRecord(const WindowValues& v)
{
    return RecordWriter(RecordKind::Window)
        .Set("Placement", v.Placement)
        .Set("Width", v.Width)
        .Set("Height", v.Height)
        .Set("MinWidth", v.Width)
        .Set("MinHeight", v.Height)
        .Set("MaxWidth", v.Width)
        .Set("MaxHeight", v.Height)
        .Set("Frame", v.Frame)
        .Set("Composite", false)
        .Set("HasBackColor", v.HasBackColor)
        .Set("BackColor", RGB(255, 255, 255))
        .Set("Title", v.Title)
        .Set("Visible", true)
        .Set("FullScreen", false)
        .Set("MenuBarVisible", true)
        .Set("CloseButton", v.CloseButton)
        .Set("Resizeable", false)
        .Set("LiveResize", true)
        .Set("MaximizeButton", false)
        .Set("MinimizeButton", v.MinimizeButton)
        .Set("MacProcID", 0)
        .Bytes();
}

std::string CanvasRecord(const CanvasValues& v)
{
    return RecordWriter(RecordKind::Canvas)
        .Set("InitialParent", "")
        .Set("EraseBackground", true)
        .Set("DoubleBuffer", false)
        .Set("AcceptTabs", false)
        .Set("AcceptFocus", false)
        .Set("UseFocusRing", false)
        .Set("Enabled", true)
        .Set("AutoDeactivate", true)
        .Set("HelpTag", "")
        .Set("Visible", true)
        .Set("TabStop", false)
        .Set("TabIndex", v.TabIndex)
        .Set("TabPanelIndex", 0)
        .Set("LockBottom", false)
        .Set("LockRight", false)
        .Set("LockTop", false)
        .Set("LockLeft", false)
        .Set("Height", v.Height)
        .Set("Width", v.Width)
        .Set("Top", v.Top)
        .Set("Left", v.Left)
        .Set("Index", INT32_MIN) // in no control array
        .Set("Name", v.Name)
        .Bytes();
}
