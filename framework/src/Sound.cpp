#include "SoundImpl.h"

#include <framework/Runtime.h>

#include <QApplication>
#include <QByteArray>
#include <QUrl>

#include <algorithm>

namespace fw {

namespace {
// The toolkit's gain for a volume: linear, 0.0 to 1.0.
float Gain(int32_t volume) { return static_cast<float>(std::clamp(volume, 0, 100)) / 100.0f; }
} // namespace

Sound::Impl::~Impl()
{
    // A sound that outlives the toolkit (a cache released after the runtime
    // went down) must not reach into it any more: leave the effect be.
    if (effect && QCoreApplication::instance())
        delete effect;
}

QSoundEffect* Sound::Impl::Effect()
{
    // Without the toolkit there is nothing to play on, and an effect made
    // while it stood must not be touched any more.
    if (!RuntimeIsInitialized())
        return nullptr;
    if (!effect) {
        // The toolkit loads sounds by URL; a data URL keeps the samples we
        // checked, whatever happens to the file afterwards. Loading runs on
        // the toolkit's own thread, and a Play before it is done is held
        // until the sound is ready.
        QByteArray data("data:audio/wav;base64,");
        data += QByteArray::fromRawData(wave.data(), static_cast<qsizetype>(wave.size())).toBase64();
        url = QUrl::fromEncoded(data);
        wave = std::string();
        effect = new QSoundEffect();
        effect->setSource(url);
    }
    return effect;
}

void Sound::Impl::Restart()
{
    if (effect->isPlaying()) {
        // The toolkit's effect does not start over reliably while it plays:
        // a late notice of the interrupted output can stop the new start.
        // A new effect on the same sample (still loaded, shared by URL)
        // starts clean.
        QSoundEffect* old = effect;
        effect = new QSoundEffect();
        effect->setSource(url);
        effect->setVolume(old->volume());
        delete old;
    }
    effect->play();
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
    if (QSoundEffect* effect = impl_ && impl_->effect ? impl_->Effect() : nullptr)
        effect->setVolume(Gain(volume_));
}

void Sound::Play()
{
    QSoundEffect* effect = impl_ ? impl_->Effect() : nullptr;
    if (!effect)
        return;
    effect->setVolume(Gain(volume_));
    impl_->Restart();
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
