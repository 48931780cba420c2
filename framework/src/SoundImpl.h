#pragma once

#include <framework/Sound.h>

#include <QSoundEffect>
#include <QUrl>

#include <memory>
#include <string>

namespace fw {

struct Sound::Impl {
    // A plain 16-bit PCM WAV file in memory (see PlayableWave), until the
    // effect is made; then the URL that carries it.
    std::string wave;
    QUrl url;
    // Made on the first need once the toolkit runs; owned here.
    QSoundEffect* effect = nullptr;

    ~Impl();
    QSoundEffect* Effect();
    // Stops the sound and starts it from its beginning.
    void Restart();
};

// A sound that plays the given WAV bytes, which PlayableWave has made.
Ref<Sound> MakeSound(std::string playableWave);

} // namespace fw
