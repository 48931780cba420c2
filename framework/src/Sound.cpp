#include "SoundImpl.h"

#include <framework/Dispatch.h>
#include <framework/Runtime.h>

#include <QApplication>

#include <dlfcn.h>

#include <algorithm>
#include <string>

namespace fw {

namespace {
// The toolkit's gain for a volume: linear, 0.0 to 1.0.
float Gain(int32_t volume) { return static_cast<float>(std::clamp(volume, 0, 100)) / 100.0f; }

detail::MakeSoundEffectFunction SoundModule()
{
    // Loaded once, from beside the framework (its RUNPATH), and kept.
    static detail::MakeSoundEffectFunction make = [] {
        void* module = dlopen(detail::kSoundModule, RTLD_NOW | RTLD_LOCAL);
        void* entry = module ? dlsym(module, detail::kMakeSoundEffect) : nullptr;
        if (!entry)
            UnhandledException(RuntimeException(std::string("no sound output: ") + dlerror()));
        return reinterpret_cast<detail::MakeSoundEffectFunction>(entry);
    }();
    return make;
}
} // namespace

detail::SoundEffect* Sound::Impl::Effect()
{
    // Without the toolkit there is nothing to play on, and an effect made
    // while it stood must not be touched any more.
    if (!RuntimeIsInitialized())
        return nullptr;
    if (!effect) {
        detail::MakeSoundEffectFunction make = SoundModule();
        if (!make)
            return nullptr;
        effect.reset(make(wave));
        wave = std::string();
    }
    return effect.get();
}

Sound::Sound() = default;

Sound::Sound(std::unique_ptr<Impl> impl)
    : impl_(std::move(impl))
{
    // Start loading now, so that the first Play sounds without delay.
    impl_->Effect();
}

Sound::~Sound() = default;

const ClassRecord& Sound::Record()
{
    static const ClassRecord record { "Sound", &Object::Record(),
        { Property<Sound, int32_t>("Volume", &Sound::Volume) },
        { Method("Play", &Sound::Play) }, {} };
    return record;
}

const ClassRecord& Sound::ClassInfo() const { return Record(); }

int32_t Sound::Volume() const { return volume_; }

void Sound::Volume(int32_t volume)
{
    volume_ = volume;
    if (detail::SoundEffect* effect = impl_ && impl_->effect ? impl_->Effect() : nullptr)
        effect->SetVolume(Gain(volume_));
}

void Sound::Play()
{
    detail::SoundEffect* effect = impl_ ? impl_->Effect() : nullptr;
    if (!effect)
        return;
    effect->SetVolume(Gain(volume_));
    effect->Restart();
}

Ref<Sound> MakeSound(std::string playableWave)
{
    auto impl = std::make_unique<Sound::Impl>();
    impl->wave = std::move(playableWave);
    return New<Sound>(std::move(impl));
}

void Beep()
{
    if (RuntimeIsInitialized())
        QApplication::beep();
}

} // namespace fw
