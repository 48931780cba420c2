// The sound module: sound effects on Qt Multimedia's output.

#include "../SoundEffect.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QSoundEffect>
#include <QUrl>

namespace {

class QtSoundEffect : public fw::detail::SoundEffect {
public:
    explicit QtSoundEffect(const std::string& wave)
    {
        // The toolkit loads sounds by URL; a data URL keeps the samples that
        // were checked, whatever happens to the file afterwards. Loading runs
        // on the toolkit's own thread.
        QByteArray data("data:audio/wav;base64,");
        data += QByteArray::fromRawData(wave.data(), static_cast<qsizetype>(wave.size())).toBase64();
        url_ = QUrl::fromEncoded(data);
        effect_ = new QSoundEffect();
        effect_->setSource(url_);
    }

    ~QtSoundEffect() override
    {
        // An effect that outlives the toolkit (a cache released after the
        // runtime went down) must not reach into it any more: leave it be.
        if (QCoreApplication::instance())
            delete effect_;
    }

    void SetVolume(float gain) override { effect_->setVolume(gain); }

    void Restart() override
    {
        if (effect_->isPlaying()) {
            // The toolkit's effect does not start over reliably while it
            // plays: a late notice of the interrupted output can stop the
            // new start. A new effect on the same sample (still loaded,
            // shared by URL) starts clean.
            QSoundEffect* old = effect_;
            effect_ = new QSoundEffect();
            effect_->setSource(url_);
            effect_->setVolume(old->volume());
            delete old;
        }
        effect_->play();
    }

private:
    QUrl url_;
    QSoundEffect* effect_ = nullptr;
};

} // namespace

extern "C" __attribute__((visibility("default"))) fw::detail::SoundEffect* horomine_make_sound_effect(
    const std::string& wave)
{
    return new QtSoundEffect(wave);
}
