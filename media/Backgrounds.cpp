#include "Backgrounds.h"

#include "Noise.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace horomine::media {

namespace {

struct Rgb {
    double r, g, b;
};

Rgb mix(const Rgb& a, const Rgb& b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double luminance(const Rgb& c)
{
    return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
}

constexpr double kTau = 2.0 * std::numbers::pi;

// Markers, the green line and black text are drawn over these, so nothing
// may get darker than this.
constexpr double kMinLuminance = 214.0;

// The title and the error readout sit in the top strip; the pattern eases
// off there so the text stays easy to read.
constexpr double kCalmStripEnd = 20.0;
constexpr double kCalmStripBlend = 22.0;
constexpr double kCalmStripStrength = 0.3;

using Shader = std::function<Rgb(double x, double y)>;

// Renders with 3 x 3 supersampling, then applies the calm top strip and
// the paleness floor.
QImage render(const Shader& shade, const Rgb& ground)
{
    constexpr int kSub = 3;
    QImage img(kBackgroundWidth, kBackgroundHeight, QImage::Format_RGB32);
    for (int y = 0; y < kBackgroundHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        const double calm = kCalmStripStrength
                            + (1.0 - kCalmStripStrength) * smoothstep(kCalmStripEnd, kCalmStripEnd + kCalmStripBlend, y);
        for (int x = 0; x < kBackgroundWidth; ++x) {
            Rgb sum{0, 0, 0};
            for (int sy = 0; sy < kSub; ++sy) {
                for (int sx = 0; sx < kSub; ++sx) {
                    const Rgb c = shade(x + (sx + 0.5) / kSub, y + (sy + 0.5) / kSub);
                    sum.r += c.r;
                    sum.g += c.g;
                    sum.b += c.b;
                }
            }
            constexpr double kN = kSub * kSub;
            Rgb c = mix(ground, {sum.r / kN, sum.g / kN, sum.b / kN}, calm);
            const double lum = luminance(c);
            if (lum < kMinLuminance)
                c = mix(c, {255, 255, 255}, (kMinLuminance - lum) / (255.0 - lum));
            auto channel = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); };
            line[x] = qRgb(channel(c.r), channel(c.g), channel(c.b));
        }
    }
    return img;
}

// Paper grain: broad mottling plus fine fibres, a few levels either way.
double paperGrain(double x, double y, std::uint32_t seed)
{
    const double mottle = fractalNoise(x / 70.0, y / 70.0, 3, seed) - 0.5;
    const double fibre = valueNoise(x / 9.0, y / 1.6, seed + 7u) - 0.5;
    const double speck = latticeHash(static_cast<int>(x), static_cast<int>(y), seed + 13u) - 0.5;
    return 6.0 * mottle + 2.4 * fibre + 1.6 * speck;
}

Rgb withGrain(const Rgb& c, double grain)
{
    return {c.r + grain, c.g + grain, c.b + grain * 1.15};
}

QImage plain()
{
    const Rgb paper{249, 246, 237};
    return render([&](double x, double y) { return withGrain(paper, paperGrain(x, y, 11u)); }, paper);
}

QImage spiral()
{
    const Rgb ground{248, 249, 253};
    const Rgb inner{206, 226, 247}; // sky near the eye
    const Rgb outer{227, 214, 243}; // lavender at the rim
    const double cx = 240.0;
    const double cy = 168.0;
    constexpr double kArms = 3.0;
    constexpr double kPitch = 58.0; // px between successive turns of one arm
    return render(
        [=](double x, double y) {
            const double dx = x - cx;
            const double dy = y - cy;
            const double r = std::hypot(dx, dy);
            const double theta = std::atan2(dy, dx);
            // Arms loosen slowly outwards so the spiral does not look mechanical.
            const double phase = kArms * theta - kTau * kArms * std::pow(r, 0.92) / kPitch;
            const double band = 0.5 + 0.5 * std::cos(phase);
            const double arm = smoothstep(0.25, 0.95, band);
            const double fadeEye = smoothstep(4.0, 40.0, r);
            const Rgb tint = mix(inner, outer, smoothstep(40.0, 300.0, r));
            // A thin, slightly darker edge on the leading side of each arm.
            const double edge = smoothstep(0.80, 0.97, 0.5 + 0.5 * std::cos(phase - 1.2)) * 0.35;
            Rgb c = mix(ground, tint, arm * fadeEye);
            c = mix(c, mix(tint, {190, 200, 235}, 0.5), edge * fadeEye);
            return withGrain(c, paperGrain(x, y, 23u) * 0.5);
        },
        ground);
}

QImage treeRings()
{
    const Rgb ground{250, 244, 231};
    const Rgb early{246, 235, 214};
    const Rgb late{222, 198, 163};
    const double cx = 196.0;
    const double cy = 182.0;
    return render(
        [=](double x, double y) {
            const double dx = x - cx;
            const double dy = y - cy;
            const double r = std::hypot(dx, dy);
            const double theta = std::atan2(dy, dx);
            // Irregular growth: the radius wobbles with direction, and with
            // a slow noise field so neighbouring rings wander together.
            const double wobble = 1.0 + 0.05 * std::sin(2.0 * theta + 0.7) + 0.03 * std::sin(5.0 * theta + 2.1);
            const double drift = 9.0 * (fractalNoise(x / 90.0, y / 90.0, 3, 31u) - 0.5);
            const double rr = r * wobble + drift;
            // Ring widths vary year to year.
            const double years = rr / 14.0 + 0.35 * std::sin(rr / 41.0) + 0.2 * std::sin(rr / 17.0 + 1.0);
            const double f = years - std::floor(years);
            const double lateWood = smoothstep(0.62, 0.93, f) * (1.0 - smoothstep(0.93, 1.0, f));
            const double grain = valueNoise(theta * 60.0, rr / 30.0, 37u) - 0.5;
            Rgb c = mix(early, late, lateWood * (0.75 + 0.25 * valueNoise(theta * 8.0, years, 41u)));
            c = mix(ground, c, smoothstep(2.0, 10.0, r) * 0.9 + 0.1);
            return withGrain(c, 3.0 * grain + paperGrain(x, y, 43u) * 0.4);
        },
        ground);
}

QImage warpedGrid()
{
    const Rgb ground{249, 249, 252};
    const Rgb cellA{250, 250, 253};
    const Rgb cellB{238, 241, 250};
    const Rgb line{176, 184, 222};
    constexpr double kSpacing = 24.0;
    struct Swirl {
        double x, y, radius, turn;
    };
    const Swirl swirls[] = {{150, 120, 95, 1.1}, {350, 200, 110, -0.9}, {300, 40, 70, 0.5}};
    return render(
        [=](double x, double y) {
            double u = x;
            double v = y;
            for (const Swirl& s : swirls) {
                const double dx = u - s.x;
                const double dy = v - s.y;
                const double angle = s.turn * std::exp(-(dx * dx + dy * dy) / (s.radius * s.radius));
                const double cs = std::cos(angle);
                const double sn = std::sin(angle);
                u = s.x + dx * cs - dy * sn;
                v = s.y + dx * sn + dy * cs;
            }
            u += 7.0 * std::sin(y / 47.0) + 4.0 * std::sin((x + y) / 61.0);
            v += 7.0 * std::sin(x / 53.0);
            const double gu = u / kSpacing;
            const double gv = v / kSpacing;
            const bool odd = ((static_cast<long>(std::floor(gu)) + static_cast<long>(std::floor(gv))) & 1) != 0;
            Rgb c = odd ? cellB : cellA;
            const double du = std::abs(gu - std::round(gu)) * kSpacing;
            const double dv = std::abs(gv - std::round(gv)) * kSpacing;
            const double onLine = std::max(1.0 - smoothstep(0.3, 0.9, du), 1.0 - smoothstep(0.3, 0.9, dv));
            c = mix(c, line, onLine * 0.8);
            return c;
        },
        ground);
}

QImage chaos()
{
    const Rgb ground{250, 248, 244};
    struct Blob {
        double x, y;
        double rx, ry;    // radii
        double cs, sn;    // orientation
        double softness;  // px of feathering
        double ring;      // 0 = solid, else ring thickness as fraction of radius
        double power;     // 2 = ellipse, larger = rounded box
        double reach;     // bounding radius including feathering
        double alpha;
        Rgb colour;
    };
    Rng rng(0x486F726F6D696E65ULL);
    std::vector<Blob> blobs;
    for (int i = 0; i < 46; ++i) {
        Blob b{};
        b.x = rng.uniform(-30, 510);
        b.y = rng.uniform(-30, 330);
        const double size = rng.uniform(18, 95);
        b.rx = size * rng.uniform(0.7, 1.3);
        b.ry = size * rng.uniform(0.5, 1.1);
        const double angle = rng.uniform(0, kTau);
        b.cs = std::cos(angle);
        b.sn = std::sin(angle);
        b.softness = rng.uniform(3, 14);
        b.ring = rng.uniform() < 0.3 ? rng.uniform(0.18, 0.35) : 0.0;
        b.power = rng.uniform() < 0.35 ? rng.uniform(3.0, 5.0) : 2.0;
        b.reach = std::max(b.rx, b.ry) * 1.2 + b.softness;
        b.alpha = rng.uniform(0.30, 0.60);
        // Pastel hue from an HSV wheel, low saturation, full value.
        const double hue = rng.uniform(0, 6);
        const double sat = rng.uniform(0.16, 0.34);
        const int sector = static_cast<int>(hue);
        const double f = hue - sector;
        const double p = 1 - sat, q = 1 - sat * f, t = 1 - sat * (1 - f);
        double r = 1, g = 1, bl = 1;
        switch (sector) {
        case 0: r = 1; g = t; bl = p; break;
        case 1: r = q; g = 1; bl = p; break;
        case 2: r = p; g = 1; bl = t; break;
        case 3: r = p; g = q; bl = 1; break;
        case 4: r = t; g = p; bl = 1; break;
        default: r = 1; g = p; bl = q; break;
        }
        b.colour = {255 * r, 250 * g, 250 * bl};
        blobs.push_back(b);
    }
    return render(
        [&](double x, double y) {
            Rgb c = ground;
            for (const Blob& b : blobs) {
                const double dx = x - b.x;
                const double dy = y - b.y;
                if (std::abs(dx) > b.reach || std::abs(dy) > b.reach)
                    continue;
                const double lx = (dx * b.cs + dy * b.sn) / b.rx;
                const double ly = (-dx * b.sn + dy * b.cs) / b.ry;
                const double d = b.power == 2.0
                                     ? std::hypot(lx, ly)
                                     : std::pow(std::pow(std::abs(lx), b.power) + std::pow(std::abs(ly), b.power),
                                                1.0 / b.power);
                // Approximate distance to the outline in pixels.
                const double scale = std::min(b.rx, b.ry);
                double inside = (1.0 - d) * scale;
                if (b.ring > 0.0)
                    inside = std::min(inside, (d - (1.0 - b.ring)) * scale);
                const double cover = smoothstep(-b.softness * 0.5, b.softness * 0.5, inside);
                if (cover > 0.0)
                    c = mix(c, b.colour, cover * b.alpha);
            }
            return withGrain(c, paperGrain(x, y, 53u) * 0.5);
        },
        ground);
}

} // namespace

QImage makeBackground(int index)
{
    switch (index) {
    case 0: return plain();
    case 1: return spiral();
    case 2: return treeRings();
    case 3: return warpedGrid();
    case 4: return chaos();
    default: return {};
    }
}

} // namespace horomine::media
