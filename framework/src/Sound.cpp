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

// The module's entry points, nil until the first sound loads it.
struct SoundModule {
    bool tried = false;
    detail::MakeSoundEffectFunction make = nullptr;
    detail::SettleSoundEffectsFunction settle = nullptr;
};

SoundModule& Module()
{
    static SoundModule module;
    return module;
}

// The module lies beside the framework library. It is opened by its whole
// path: dlopen of a bare name searches the RUNPATH of its caller, which
// under a sanitizer is the sanitizer's runtime, not the framework.
std::string SoundModulePath()
{
    Dl_info self {};
    if (dladdr(reinterpret_cast<void*>(&MakeSound), &self) == 0 || !self.dli_fname)
        throw RuntimeException("the framework library cannot find its own file");
    std::string path = self.dli_fname;
    return path.substr(0, path.rfind('/') + 1) + detail::kSoundModule;
}

SoundModule LoadSoundModule()
{
    std::string path = SoundModulePath();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw RuntimeException(dlerror());
    auto entry = [&](const char* name) {
        if (void* function = dlsym(handle, name))
            return function;
        throw RuntimeException(path + " lacks " + name);
    };
    // Both or neither: a sound whose loading cannot be settled at exit may
    // hang it.
    SoundModule module;
    module.make = reinterpret_cast<detail::MakeSoundEffectFunction>(entry(detail::kMakeSoundEffect));
    module.settle = reinterpret_cast<detail::SettleSoundEffectsFunction>(entry(detail::kSettleSoundEffects));
    return module;
}

detail::MakeSoundEffectFunction SoundMaker()
{
    // Loaded with the first sound and kept; a failure is reported once.
    SoundModule& module = Module();
    if (!module.tried) {
        try {
            module = LoadSoundModule();
        } catch (const RuntimeException& e) {
            ReportError("no sound output (" + e.Message + "); no sound will play");
        }
        module.tried = true;
    }
    return module.make;
}
} // namespace

detail::SoundEffect* Sound::Impl::Effect()
{
    // Without the toolkit there is nothing to play on, and an effect made
    // while it stood must not be touched any more.
    if (!RuntimeIsInitialized())
        return nullptr;
    if (!effect) {
        detail::MakeSoundEffectFunction make = SoundMaker();
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

void detail::SettleSounds()
{
    // Nothing to wait for when no sound was ever made.
    if (!Module().settle || !RuntimeIsInitialized())
        return;
    constexpr int kLimitMs = 3000;
    if (!Module().settle(kLimitMs))
        ReportError("a sound still loads after " + std::to_string(kLimitMs / 1000)
            + " s; the exit may hang in the toolkit's sample cache");
}

void Beep()
{
    if (RuntimeIsInitialized())
        QApplication::beep();
}

} // namespace fw
