// Cost of one Paint of the game field's 480 x 300 offscreen picture onto a
// control of the same size, and of each of the game's two presses (the one
// that starts a turn, the one that ends it with its sound: the turn's work,
// the whole scene drawn with the bundle's media, then the Paint), against
// one plain copy of such an image.
#include <game/Appl.h>
#include <game/GameField.h>
#include <offscreen/OffscreenCanvas.h>
#include <prefs/ApplPreferences.h>
#include <sound/SoundPlayer.h>

#include <framework/Graphics.h>
#include <framework/Picture.h>
#include <framework/Runtime.h>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int32_t kWidth = 480;
constexpr int32_t kHeight = 300;

void BM_PlainCopy(benchmark::State& state)
{
    std::vector<uint32_t> src(kWidth * kHeight, 0xFF336699u);
    std::vector<uint32_t> dst(kWidth * kHeight);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainCopy);

void BM_CanvasPaint(benchmark::State& state)
{
    auto canvas = fw::New<OffscreenCanvas>();
    canvas->Width(kWidth);
    canvas->Height(kHeight);
    canvas->CreateOffscreen(32, true);
    auto screen = fw::New<fw::Picture>(kWidth, kHeight, 32);
    auto g = screen->Graphics();
    for (auto _ : state) {
        canvas->Event_Paint(g);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CanvasPaint);

// The field with its turn's operations open to the benchmark.
class Field : public GameField {
public:
    using GameField::CenterX, GameField::CenterY, GameField::GameEnd, GameField::GameStart;
};

fw::Ref<Field> OpenField()
{
    auto app = fw::New<Appl>();
    app->ItsPrefs = fw::New<ApplPreferences>("ほろみねの設定", "HRMN");
    app->ItsPrefs->SetData("13");
    app->ItsSoundPlayer = fw::New<SoundPlayer>();
    fw::RuntimeRegisterAppObject(app);
    auto field = fw::New<Field>();
    field->Width(kWidth);
    field->Height(kHeight);
    field->Event_Open();
    field->CreateOffscreen(32, true);
    return field;
}

// A press that starts a turn: new markers, the guessing scene.
void BM_PressStart(benchmark::State& state)
{
    auto field = OpenField();
    auto screen = fw::New<fw::Picture>(kWidth, kHeight, 32);
    auto g = screen->Graphics();
    for (auto _ : state) {
        field->GameStart();
        field->Event_Paint(g);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PressStart);

// A press that ends a turn near the midpoint: the sound, then the result
// scene with its line, texts and the near picture.
void BM_PressEnd(benchmark::State& state)
{
    auto field = OpenField();
    field->GameStart();
    auto screen = fw::New<fw::Picture>(kWidth, kHeight, 32);
    auto g = screen->Graphics();
    for (auto _ : state) {
        field->GameEnd(field->CenterX + 3, field->CenterY + 4);
        field->Event_Paint(g);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PressEnd);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // A press that ends a turn plays its sound: not on the speakers.
    setenv("PULSE_SERVER", "/nonexistent/horomine-bench", 0);
    fw::RuntimeInit(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return fw::RuntimeExit();
}
