#pragma once

#include "game/GameField.h"

#include <framework/Window.h>

#include <cstdint>

namespace fw {
class AppleMenuItem;
class MenuItem;
class QuitMenuItem;
} // namespace fw

// The game's window: 480 x 300, fixed in size, titled "ほろみね", showing
// the shared menu bar, with the game field covering it whole. It answers
// the five background items of the Game menu and keeps their check marks,
// and closing it closes every other window first, so that the application,
// which quits with its last window, ends.
class MainWindow : public fw::Window {
public:
    static const fw::ClassRecord& Record();
    const fw::ClassRecord& ClassInfo() const override;

    // The open main window, or a new one, built and shown now.
    static fw::Ref<MainWindow> Instance();

    // The shared menu bar, then the window's record.
    void Layout() override;
    void CreateControls() override;
    // Creates the game field by name, applies its record and binds its
    // Created event weakly to TheGameField_Created.
    virtual void CreateControls0();
    // Nil when the window holds no such control.
    virtual fw::Ref<GameField> TheGameField();
    // Makes the field's offscreen picture, 32 bits, the old renderer.
    virtual void TheGameField_Created(fw::Ref<GameField> sender);

    // The items of this window's menu bar, each looked up by its name (and
    // Index); nil when the bar holds none, as for UntitledMenu6. A window
    // without a menu bar raises NilObjectException.
    virtual fw::Ref<fw::MenuItem> UntitledMenu0();
    virtual fw::Ref<fw::MenuItem> HelpApp();
    virtual fw::Ref<fw::AppleMenuItem> AppleAbout();
    virtual fw::Ref<fw::MenuItem> UntitledMenu1();
    virtual fw::Ref<fw::MenuItem> GameMenuSound();
    virtual fw::Ref<fw::MenuItem> GameMenuSoundVol(int32_t index);
    virtual fw::Ref<fw::MenuItem> UntitledSeparator();
    virtual fw::Ref<fw::MenuItem> GameMenuBackG();
    virtual fw::Ref<fw::MenuItem> GameMenuBack(int32_t index);
    virtual fw::Ref<fw::MenuItem> UntitledMenu2();
    virtual fw::Ref<fw::MenuItem> EditClear();
    virtual fw::Ref<fw::MenuItem> EditPaste();
    virtual fw::Ref<fw::MenuItem> EditCopy();
    virtual fw::Ref<fw::MenuItem> EditCut();
    virtual fw::Ref<fw::MenuItem> UntitledMenu3();
    virtual fw::Ref<fw::MenuItem> EditUndo();
    virtual fw::Ref<fw::MenuItem> UntitledMenu4();
    virtual fw::Ref<fw::QuitMenuItem> FileQuit();
    virtual fw::Ref<fw::MenuItem> UntitledMenu5();
    virtual fw::Ref<fw::MenuItem> FileClose();
    virtual fw::Ref<fw::MenuItem> UntitledMenu6();

    // The background items' handler, holding the window strongly.
    void AddMenuHandlers(const fw::Ref<fw::Window>& target) override;
    // Checks the current background's item, unchecks and enables the four
    // others; none is checked for a background outside 0 to 4.
    void Event_EnableMenuItems() override;
    // Unless the application quits, asks every other open window once to
    // close. Never cancels.
    bool Event_CancelClose(bool quitting) override;
    // SetBack of the game field with the item's Index. Answers True.
    virtual bool GameMenuBack_Action(int32_t index);
};
