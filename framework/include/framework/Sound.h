#pragma once

#include <framework/Object.h>

#include <cstdint>
#include <memory>

namespace fw {

// A sound effect, held in memory (FolderItem::OpenAsSound). Play starts it
// and returns at once; playing it again while it still sounds starts it
// again from its beginning. Use it on the event thread only.
class Sound : public Object {
public:
    // A sound without samples: Play makes no sound. A subclass that stands
    // in for the audio device starts from here.
    Sound();
    ~Sound() override;

    static const ClassRecord& Record();
    const ClassRecord& ClassInfo() const override;

    // 0 (silent) to 100 (full level), linear in amplitude. The sound keeps
    // the value it was given; values beyond either end play as that end.
    virtual int32_t Volume() const;
    virtual void Volume(int32_t volume);

    virtual void Play();

    struct Impl;
    explicit Sound(std::unique_ptr<Impl> impl);

private:
    std::unique_ptr<Impl> impl_;
    int32_t volume_ = 100;
};

// The platform's alert sound; returns at once.
void Beep();

} // namespace fw
