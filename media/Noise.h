#pragma once

#include <cstdint>

namespace horomine::media {

// Deterministic pseudo-random numbers. We avoid <random> distributions
// because their output differs between standard libraries, and the media
// must come out identical on every build machine.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next();
    // Uniform in [0, 1).
    double uniform();
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }

private:
    std::uint64_t state_;
};

// Hash of an integer lattice point to [0, 1).
double latticeHash(int x, int y, std::uint32_t seed);

// Smooth value noise in [0, 1] with unit lattice spacing.
double valueNoise(double x, double y, std::uint32_t seed);

// Sum of octaves of value noise, normalised to [0, 1].
double fractalNoise(double x, double y, int octaves, std::uint32_t seed);

double smoothstep(double edge0, double edge1, double x);

} // namespace horomine::media
