#include <framework/AppleMenuItem.h>
#include <framework/Application.h>
#include <framework/Canvas.h>
#include <framework/FileType.h>
#include <framework/FolderItem.h>
#include <framework/Graphics.h>
#include <framework/Label.h>
#include <framework/MemoryBlock.h>
#include <framework/MenuBar.h>
#include <framework/MouseCursor.h>
#include <framework/Picture.h>
#include <framework/QuitMenuItem.h>
#include <framework/ResourceFork.h>
#include <framework/Runtime.h>
#include <framework/Sound.h>
#include <framework/TabPanel.h>
#include <framework/TextArea.h>
#include <framework/TextInputStream.h>
#include <framework/TextOutputStream.h>
#include <framework/Window.h>

namespace fw {

// Every class of the framework, each after its superclass. A new framework
// class joins this list.
void RegisterFrameworkClasses()
{
    for (const ClassRecord* r : { &Object::Record(), &Application::Record(), &Window::Record(), &Control::Record(),
             &RectControl::Record(), &Canvas::Record(), &Label::Record(), &TabPanel::Record(), &TextArea::Record(),
             &MenuItem::Record(), &MenuBar::Record(),
             &QuitMenuItem::Record(), &AppleMenuItem::Record(), &Graphics::Record(), &Picture::Record(),
             &Sound::Record(), &MouseCursor::Record(), &ResourceFork::Record(), &FolderItem::Record(),
             &MemoryBlock::Record(), &TextInputStream::Record(), &TextOutputStream::Record(), &FileType::Record() })
        ClassRegistry::Register(*r);
}

} // namespace fw
