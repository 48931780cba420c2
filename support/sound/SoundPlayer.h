#pragma once

#include <framework/Object.h>
#include <framework/Sound.h>

#include <array>
#include <cstdint>
#include <string>

// Plays the sound effects: an on/off switch, ten volume steps (nine audible
// and mute) with a one-letter code each for the settings string, and a
// queue of up to 16 pending sounds ordered by priority, with an idle sound
// (the sacrifice sound) for when nothing has sounded for a while.
class SoundPlayer : public fw::Object {
public:
    SoundPlayer();
    ~SoundPlayer() override;

    static const fw::ClassRecord& Record();
    const fw::ClassRecord& ClassInfo() const override;

    virtual std::string VersionInfo();
    // Starts the sound at the current volume; nothing while sound is off.
    // A nil sound (its file missing or unreadable) is silence: nothing
    // starts and nothing changes, so the caller's work goes on.
    virtual void Play(const fw::Ref<fw::Sound>& sound);
    virtual void SetEnable(bool on);
    virtual bool RefEnable();
    virtual void Beep();
    // 0 (loudest) to 8 audible; anything else mutes.
    virtual void SetVolume(int32_t step);
    virtual int32_t RefVolume();
    // "A" to "I" for steps 0 to 8, "0" otherwise.
    virtual std::string SaveData();
    // The step of a code of SaveData; step 0 for any other string.
    virtual void RestoreData(const std::string& code);
    // The state of a new player; the C++ constructor runs it.
    void Constructor();
    virtual void PushQueue(const fw::Ref<fw::Sound>& sound, int32_t priority);
    virtual void PlayQueue();
    virtual void SetSacrifice(const fw::Ref<fw::Sound>& sound, int32_t interval);
    virtual void SetPriorityMode(bool on);

protected:
    // The clock of LastPlayTime and of the idle test, in microseconds:
    // fw::Microseconds. Not one of the class's runtime methods; a subclass
    // may drive it.
    virtual double Now();

    static constexpr int32_t kQueueUpperBound = 15;

    bool SoundEnable = true;
    int32_t SoundVolume = 100;
    int32_t SoundVolumeIndex = 0;
    std::array<fw::Ref<fw::Sound>, kQueueUpperBound + 1> SoundQueue;
    int32_t SoundQueueBound = 0;
    fw::Ref<fw::Sound> SacrificeSound;
    double LastPlayTime = 0.0;

public:
    // How long nothing must have sounded before the sacrifice sound plays,
    // in tenths of a second.
    int32_t SacrificeInterval = 0;

protected:
    std::array<int32_t, kQueueUpperBound + 1> PriorityQueue {};
    bool PriorityMode = false;

private:
    void ClearSlot(int32_t i);
    void MoveSlot(int32_t from, int32_t to);
};
