// Cost of one Paint of the game field's 480 x 300 offscreen picture onto a
// control of the same size, against one plain copy of such an image.
#include <offscreen/OffscreenCanvas.h>

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

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    fw::RuntimeInit(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return fw::RuntimeExit();
}
