#include <framework/Numbers.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <random>

namespace fw {

namespace {
std::mt19937_64& Generator()
{
    static std::mt19937_64 gen { std::random_device {}() };
    return gen;
}
} // namespace

double Rnd()
{
    // 53 random bits: uniform in [0, 1), never 1.
    return static_cast<double>(Generator()() >> 11) * 0x1.0p-53;
}

void RndSeed(uint64_t seed) { Generator().seed(seed); }

double Floor(double v) { return std::floor(v); }
double Sqrt(double v) { return std::sqrt(v); }
double Pow(double v, double exponent) { return std::pow(v, exponent); }
double ATan2(double y, double x) { return std::atan2(y, x); }
double ACos(double v) { return std::acos(v); }

double Microseconds()
{
    using namespace std::chrono;
    // Counted from the system's start, as the clock's users expect.
    return static_cast<double>(duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count()) / 1000.0;
}

int32_t ToInt32(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

} // namespace fw
