#pragma once

#include <cstdint>

namespace fw {

// Uniform in [0, 1).
double Rnd();
// Makes Rnd repeatable, for tests and demonstrations.
void RndSeed(uint64_t seed);

double Floor(double v);
double Sqrt(double v);
double Pow(double v, double exponent);
double ATan2(double y, double x);
double ACos(double v);

// A monotonic clock in microseconds.
double Microseconds();

// The framework's Double to Int32 conversion: toward zero, saturating at the
// ends of the Int32 range (NaN gives 0).
int32_t ToInt32(double v);

} // namespace fw
