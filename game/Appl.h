#pragma once

#include <framework/Application.h>

#include <cstdint>

class ApplPreferences;
class SoundPlayer;

namespace fw {
class MenuItem;
}

// The game's application object: owns the settings and the sound player,
// looks after the volume items of the Game menu and saves the settings when
// the application quits.
class Appl : public fw::Application {
public:
    Appl();
    ~Appl() override;

    static const fw::ClassRecord& Record();
    const fw::ClassRecord& ClassInfo() const override;

    // Made in Open and kept for the rest of the run.
    fw::Ref<ApplPreferences> ItsPrefs;
    fw::Ref<SoundPlayer> ItsSoundPlayer;

    // Saves the settings.
    void Event_Close() override;
    // Checks the current volume item and enables the nine others.
    void Event_EnableMenuItems() override;
    // Reads the settings, makes the sound player with the saved volume and
    // has the application quit with its last window.
    void Event_Open() override;
    // The About item: shows the About window modally. Answers True.
    virtual bool AppleAbout_Action();
    // The help item: shows the Help window, or brings it to the front.
    // Answers True.
    virtual bool HelpApp_Action();
    // The volume items, Index 0 (loudest) to 9 (mute): sets the volume,
    // sounds the sample at it and keeps its code in the settings.
    virtual bool GameMenuSoundVol_Action(int32_t index);
    // Does nothing.
    virtual void Constructor();
};

// The registered application object as an Appl, or nil.
fw::Ref<Appl> App();

// The volume item of that Index on the application's menu bar, or nil;
// looked up afresh on every call.
fw::Ref<fw::MenuItem> GameMenuSoundVol(int32_t index);
