// The sound module: sound effects on Qt Multimedia's output.

#include "../SoundEffect.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <set>

namespace {

bool Loading(const QSoundEffect* effect) { return effect->status() == QSoundEffect::Loading; }

// The toolkit effects whose samples may still load: those of live sounds,
// and those whose sound went while its sample loaded. The toolkit goes on
// loading a sample whose effect is deleted, out of sight; an effect kept
// until then tells when it is done. Never destroyed: a sound in a static
// cache may go after them at exit.
std::set<QSoundEffect*>& LiveEffects()
{
    static auto* effects = new std::set<QSoundEffect*>;
    return *effects;
}
std::set<QSoundEffect*>& ReleasedEffects()
{
    static auto* effects = new std::set<QSoundEffect*>;
    return *effects;
}

bool AnyLoading()
{
    auto loading = [](const std::set<QSoundEffect*>& effects) {
        return std::any_of(effects.begin(), effects.end(), Loading);
    };
    return loading(LiveEffects()) || loading(ReleasedEffects());
}

QSoundEffect* NewEffect(const QUrl& url)
{
    auto* effect = new QSoundEffect();
    effect->setSource(url);
    LiveEffects().insert(effect);
    return effect;
}

// Deletes the effect, or while its sample still loads keeps it until the
// sample has loaded.
void Release(QSoundEffect* effect)
{
    LiveEffects().erase(effect);
    // An effect that outlives the toolkit (a cache released after the
    // runtime went down) must not reach into it any more: leave it be.
    if (!QCoreApplication::instance())
        return;
    if (!Loading(effect)) {
        delete effect;
        return;
    }
    ReleasedEffects().insert(effect);
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (Loading(effect))
            return;
        ReleasedEffects().erase(effect);
        effect->deleteLater(); // inside its own signal
    });
}

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
        effect_ = NewEffect(url_);
    }

    ~QtSoundEffect() override { Release(effect_); }

    void SetVolume(float gain) override { effect_->setVolume(gain); }

    void Restart() override
    {
        if (effect_->isPlaying()) {
            // The toolkit's effect does not start over reliably while it
            // plays: a late notice of the interrupted output can stop the
            // new start. A new effect on the same sample (still loaded,
            // shared by URL) starts clean.
            QSoundEffect* old = effect_;
            effect_ = NewEffect(url_);
            effect_->setVolume(old->volume());
            Release(old);
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

extern "C" __attribute__((visibility("default"))) bool horomine_settle_sound_effects(int limitMs)
{
    // Not a nested event loop: one would return at once after a quit asked
    // for before the application's loop ran (the toolkit keeps that quit
    // until a loop of its own clears it). The timer wakes the wait at least
    // every few milliseconds, so the deadline holds however quiet the
    // loaders are.
    QDeadlineTimer deadline(limitMs);
    QTimer tick;
    tick.start(10);
    while (AnyLoading() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return !AnyLoading();
}
