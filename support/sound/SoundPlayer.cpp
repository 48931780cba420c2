#include "sound/SoundPlayer.h"

#include <framework/Numbers.h>

using namespace fw;

namespace {

constexpr int32_t kMuteStep = 9;
constexpr int32_t kDisabledIndex = 99;
constexpr int32_t kStepVolumes[] = { 100, 70, 50, 35, 25, 17, 12, 8, 6 };
constexpr int32_t kAudibleSteps = static_cast<int32_t>(std::size(kStepVolumes));
const char* const kStepCodes[] = { "A", "B", "C", "D", "E", "F", "G", "H", "I" };
const char* const kMuteCode = "0";

// Priority mode: behind the head, entries above this play...
constexpr int32_t kPlayAbove = 6;
// ...and entries below this are dropped; the ones between stay queued.
constexpr int32_t kDropBelow = 4;

} // namespace

SoundPlayer::SoundPlayer() { Constructor(); }

SoundPlayer::~SoundPlayer() = default;

const ClassRecord& SoundPlayer::Record()
{
    static const ClassRecord record { "SoundPlayer", &Object::Record(),
        {
            Property("SoundEnable", &SoundPlayer::SoundEnable),
            Property("SoundVolume", &SoundPlayer::SoundVolume),
            Property("SoundVolumeIndex", &SoundPlayer::SoundVolumeIndex),
            Property("SoundQueue", &SoundPlayer::SoundQueue),
            Property("SoundQueueBound", &SoundPlayer::SoundQueueBound),
            Property("SacrificeSound", &SoundPlayer::SacrificeSound),
            Property("LastPlayTime", &SoundPlayer::LastPlayTime),
            Property("SacrificeInterval", &SoundPlayer::SacrificeInterval, Scope::Public),
            Property("PriorityQueue", &SoundPlayer::PriorityQueue),
            Property("PriorityMode", &SoundPlayer::PriorityMode),
        },
        {
            Method("VersionInfo", &SoundPlayer::VersionInfo),
            Method("Play", &SoundPlayer::Play),
            Method("SetEnable", &SoundPlayer::SetEnable),
            Method("RefEnable", &SoundPlayer::RefEnable),
            Method("Beep", &SoundPlayer::Beep),
            Method("SetVolume", &SoundPlayer::SetVolume),
            Method("RefVolume", &SoundPlayer::RefVolume),
            Method("SaveData", &SoundPlayer::SaveData),
            Method("RestoreData", &SoundPlayer::RestoreData),
            Method("Constructor", &SoundPlayer::Constructor),
            Method("PushQueue", &SoundPlayer::PushQueue),
            Method("PlayQueue", &SoundPlayer::PlayQueue),
            Method("SetSacrifice", &SoundPlayer::SetSacrifice),
            Method("SetPriorityMode", &SoundPlayer::SetPriorityMode),
        },
        {} };
    return record;
}

const ClassRecord& SoundPlayer::ClassInfo() const { return Record(); }

std::string SoundPlayer::VersionInfo() { return "2012-05-19,1"; }

double SoundPlayer::Now() { return Microseconds(); }

void SoundPlayer::Play(const Ref<Sound>& sound)
{
    // Raising for a missing sound would end the caller halfway: a turn
    // that never ends, a volume choice never stored.
    if (!SoundEnable || !sound)
        return;
    sound->Volume(SoundVolume);
    sound->Play();
    LastPlayTime = Now();
}

void SoundPlayer::SetEnable(bool on)
{
    SoundEnable = on;
    SoundVolume = on ? kStepVolumes[0] : 0;
    SoundVolumeIndex = on ? 0 : kDisabledIndex;
}

bool SoundPlayer::RefEnable() { return SoundEnable; }

void SoundPlayer::Beep()
{
    if (SoundEnable)
        fw::Beep();
}

void SoundPlayer::SetVolume(int32_t step)
{
    if (step >= 0 && step < kAudibleSteps) {
        SoundEnable = true;
        SoundVolume = kStepVolumes[step];
        SoundVolumeIndex = step;
    } else {
        SoundEnable = false;
        SoundVolume = 0;
        SoundVolumeIndex = kMuteStep;
    }
}

int32_t SoundPlayer::RefVolume() { return SoundVolumeIndex; }

std::string SoundPlayer::SaveData()
{
    if (SoundVolumeIndex >= 0 && SoundVolumeIndex < kAudibleSteps)
        return kStepCodes[SoundVolumeIndex];
    return kMuteCode;
}

void SoundPlayer::RestoreData(const std::string& code)
{
    for (int32_t step = 0; step < kAudibleSteps; ++step) {
        if (code == kStepCodes[step]) {
            SetVolume(step);
            return;
        }
    }
    SetVolume(code == kMuteCode ? kMuteStep : 0);
}

void SoundPlayer::Constructor()
{
    SoundEnable = true;
    SoundVolume = kStepVolumes[0];
    SoundVolumeIndex = 0;
    PriorityMode = false;
    SoundQueueBound = -1;
}

void SoundPlayer::ClearSlot(int32_t i)
{
    SoundQueue[i] = nullptr;
    PriorityQueue[i] = 0;
}

void SoundPlayer::MoveSlot(int32_t from, int32_t to)
{
    SoundQueue[to] = SoundQueue[from];
    PriorityQueue[to] = PriorityQueue[from];
    ClearSlot(from);
}

void SoundPlayer::PushQueue(const Ref<Sound>& sound, int32_t priority)
{
    if (!sound || priority <= 0)
        return;
    // Full: the push is turned away whatever its priority; nothing is evicted.
    if (SoundQueueBound >= kQueueUpperBound)
        return;
    int32_t place = 0;
    if (SoundQueueBound >= 0) {
        // Behind every entry of equal or higher priority.
        place = SoundQueueBound + 1;
        for (int32_t i = SoundQueueBound; i >= 0; --i) {
            if (PriorityQueue[i] >= priority)
                break;
            MoveSlot(i, i + 1);
            place = i;
        }
    }
    SoundQueue[place] = sound;
    PriorityQueue[place] = priority;
    ++SoundQueueBound;
}

void SoundPlayer::PlayQueue()
{
    if (SoundQueueBound < 0) {
        // Idle: the sacrifice sound, once nothing has sounded for longer
        // than the interval. The product is exact: for intervals whose
        // product fits 32 bits it is that product, and a longer interval
        // waits its full length instead of wrapping around.
        int64_t interval = static_cast<int64_t>(SacrificeInterval) * 100000;
        if (SacrificeSound && Now() - LastPlayTime > static_cast<double>(interval))
            Play(SacrificeSound);
        return;
    }

    // The head plays whatever its priority.
    Play(SoundQueue[0]);
    ClearSlot(0);
    if (SoundQueueBound == 0) {
        SoundQueueBound = -1;
        return;
    }

    if (!PriorityMode) {
        for (int32_t i = 1; i <= SoundQueueBound; ++i) {
            Play(SoundQueue[i]);
            ClearSlot(i);
        }
        SoundQueueBound = -1;
        return;
    }

    int32_t kept = 0;
    for (int32_t i = 1; i <= SoundQueueBound; ++i) {
        if (PriorityQueue[i] > kPlayAbove) {
            Play(SoundQueue[i]);
            ClearSlot(i);
        } else if (PriorityQueue[i] < kDropBelow) {
            ClearSlot(i);
        } else {
            ++kept;
        }
    }
    int32_t next = 0;
    if (kept > 0) {
        for (int32_t i = 1; i <= SoundQueueBound; ++i) {
            if (SoundQueue[i])
                MoveSlot(i, next++);
        }
    }
    SoundQueueBound = next - 1;
}

void SoundPlayer::SetSacrifice(const Ref<Sound>& sound, int32_t interval)
{
    SacrificeSound = sound;
    SacrificeInterval = interval;
}

void SoundPlayer::SetPriorityMode(bool on) { PriorityMode = on; }
