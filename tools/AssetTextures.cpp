#include "AssetTextures.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

#include "AssetIslandTerrain.h"
#include "AssetPreview.h"
#include "AssetSailplane.h"
#include "AssetVector.h"

namespace assets {

namespace {

struct Point
{
    float x, y;
};

float DistanceToSegment(Point p, Point a, Point b)
{
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    const float len2 = dx * dx + dy * dy;
    float t = len2 > 0.0f ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0f;
    t = std::clamp(t, 0.0f, 1.0f);
    const float ex = a.x + t * dx - p.x;
    const float ey = a.y + t * dy - p.y;
    return std::sqrt(ex * ex + ey * ey);
}

// Paints a round-capped line of the given width along a polyline. Each
// segment marks the subsamples it covers within its own bounds only, so a
// long curve costs no more than its area; the union is then painted once.
void Stroke(AssetImage& image, const std::vector<Point>& points, float width, const Rgba& colour)
{
    constexpr int kSub = 4;  // subsamples per pixel along each axis: 16 bits
    if (points.size() < 2)
        return;
    const float half = width * 0.5f;
    const int w = image.Width();
    const int h = image.Height();
    std::vector<std::uint16_t> covered(static_cast<std::size_t>(w * h), 0);
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const Point& a = points[i];
        const Point& b = points[i + 1];
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min(a.x, b.x) - half)));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min(a.y, b.y) - half)));
        const int x1 = std::min(w - 1, static_cast<int>(std::ceil(std::max(a.x, b.x) + half)));
        const int y1 = std::min(h - 1, static_cast<int>(std::ceil(std::max(a.y, b.y) + half)));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                std::uint16_t& bits = covered[static_cast<std::size_t>(y * w + x)];
                for (int sy = 0; sy < kSub; ++sy)
                    for (int sx = 0; sx < kSub; ++sx) {
                        const Point p{static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) / kSub,
                                      static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / kSub};
                        if (DistanceToSegment(p, a, b) <= half)
                            bits = static_cast<std::uint16_t>(bits | 1U << (sy * kSub + sx));
                    }
            }
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint16_t bits = covered[static_cast<std::size_t>(y * w + x)];
            if (bits != 0)
                image.Blend(x, y, colour, static_cast<float>(std::popcount(bits)) / (kSub * kSub));
        }
}

void Disc(AssetImage& image, Point centre, float radius, const Rgba& colour)
{
    image.Fill(
        [&](float x, float y) {
            const float dx = x - centre.x;
            const float dy = y - centre.y;
            return dx * dx + dy * dy <= radius * radius;
        },
        colour, 4, {centre.x - radius - 1, centre.y - radius - 1, centre.x + radius + 1, centre.y + radius + 1});
}

}  // namespace

AssetImage MakeTargetTexture()
{
    const int n = kTargetSize;
    const Rgba white{0.97f, 0.97f, 0.95f, 1.0f};
    const Rgba orange{1.0f, 0.42f, 0.0f, 1.0f};
    const Rgba charcoal{0.13f, 0.13f, 0.15f, 1.0f};
    AssetImage image(n, n, white);
    // Work in -1..1 across the picture.
    auto unit = [n](float p) { return p / static_cast<float>(n) * 2.0f - 1.0f; };
    image.Fill([&](float x, float y) { return std::max(std::fabs(unit(x)), std::fabs(unit(y))) > 0.92f; }, charcoal);
    image.Fill(
        [&](float x, float y) {
            const float r = std::hypot(unit(x), unit(y));
            return r >= 0.56f && r <= 0.80f;
        },
        orange);
    image.Fill(
        [&](float x, float y) {
            const float u = std::fabs(unit(x));
            const float v = std::fabs(unit(y));
            return (u <= 0.11f && v <= 0.80f) || (v <= 0.11f && u <= 0.80f);
        },
        orange);
    // A white centre dot marks the touch-down point on the cross.
    Disc(image, {n * 0.5f, n * 0.5f}, n * 0.035f, white);
    return image;
}

AssetImage MakeParkTexture()
{
    const int n = kParkSize;
    const float s = static_cast<float>(n);
    AssetImage image(n, n, Rgba{});
    // Lawn: two greens blended by soft noise, with faint mowing stripes.
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const float fx = static_cast<float>(x) / s;
            const float fy = static_cast<float>(y) / s;
            const float shade = FractalNoise(fx * 9.0f, fy * 9.0f, 11, 4);
            const float grain = Hash01(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), 12);
            const float stripe = (static_cast<int>(fx * 24.0f + fy * 6.0f) % 2 == 0) ? 0.03f : -0.03f;
            Rgba lawn = Mix(Rgba{0.30f, 0.52f, 0.20f, 1}, Rgba{0.42f, 0.62f, 0.25f, 1}, shade);
            image.At(x, y) = Scaled(lawn, 1.0f + stripe + (grain - 0.5f) * 0.08f);
        }

    const Rgba path{0.83f, 0.77f, 0.63f, 1.0f};
    const Rgba pathEdge{0.62f, 0.58f, 0.48f, 1.0f};
    // The pond: a lobed shape; shore, water, and a darker deep middle.
    const Point pond{0.60f * s, 0.58f * s};
    auto pondRadius = [&](float angle) {
        return 0.17f * s * (1.0f + 0.16f * std::sin(3.0f * angle + 0.7f) + 0.07f * std::cos(5.0f * angle));
    };
    auto inPond = [&](float x, float y, float grow) {
        const float dx = x - pond.x;
        const float dy = y - pond.y;
        return std::hypot(dx, dy) <= pondRadius(std::atan2(dy, dx)) + grow;
    };
    const AssetImage::Bounds pondBounds{pond.x - 0.3f * s, pond.y - 0.3f * s, pond.x + 0.3f * s, pond.y + 0.3f * s};

    // Paths: a loop round the pond and walks in from the four gates.
    std::vector<Point> loop;
    for (int i = 0; i <= 96; ++i) {
        const float a = 2.0f * kPi * static_cast<float>(i) / 96.0f;
        const float r = pondRadius(a) + 0.05f * s;
        loop.push_back({pond.x + r * std::cos(a), pond.y + r * std::sin(a)});
    }
    auto curve = [&](Point a, Point b, float bend) {
        std::vector<Point> pts;
        for (int i = 0; i <= 48; ++i) {
            const float t = static_cast<float>(i) / 48.0f;
            const float w = std::sin(kPi * t) * bend * s;
            // Bend sideways to the straight line a-b.
            const float dx = b.x - a.x;
            const float dy = b.y - a.y;
            const float len = std::hypot(dx, dy);
            pts.push_back({a.x + dx * t - dy / len * w, a.y + dy * t + dx / len * w});
        }
        return pts;
    };
    const std::vector<std::vector<Point>> walks{
        curve({0.06f * s, 0.12f * s}, {0.42f * s, 0.45f * s}, 0.06f),
        curve({0.50f * s, 0.04f * s}, {0.58f * s, 0.33f * s}, -0.05f),
        curve({0.96f * s, 0.30f * s}, {0.78f * s, 0.45f * s}, 0.04f),
        curve({0.05f * s, 0.80f * s}, {0.40f * s, 0.70f * s}, -0.08f),
        curve({0.70f * s, 0.96f * s}, {0.64f * s, 0.80f * s}, 0.03f),
        curve({0.06f * s, 0.12f * s}, {0.05f * s, 0.80f * s}, 0.10f),
        curve({0.14f * s, 0.30f * s}, {0.40f * s, 0.08f * s}, 0.05f),
    };
    const float pathWidth = 0.018f * s;
    for (const auto& w : walks)
        Stroke(image, w, pathWidth + 3.0f, pathEdge);
    Stroke(image, loop, pathWidth + 3.0f, pathEdge);
    for (const auto& w : walks)
        Stroke(image, w, pathWidth, path);
    Stroke(image, loop, pathWidth, path);
    // A round plaza where the western walks meet.
    Disc(image, {0.16f * s, 0.28f * s}, 0.055f * s, pathEdge);
    Disc(image, {0.16f * s, 0.28f * s}, 0.050f * s, path);
    Disc(image, {0.16f * s, 0.28f * s}, 0.018f * s, Rgba{0.45f, 0.62f, 0.78f, 1.0f});

    image.Fill([&](float x, float y) { return inPond(x, y, 0.012f * s); }, Rgba{0.55f, 0.52f, 0.40f, 1.0f}, 4,
               pondBounds);
    image.Fill([&](float x, float y) { return inPond(x, y, 0.0f); }, Rgba{0.20f, 0.42f, 0.52f, 1.0f}, 4, pondBounds);
    image.Fill([&](float x, float y) { return inPond(x, y, -0.05f * s); }, Rgba{0.13f, 0.31f, 0.43f, 1.0f}, 4,
               pondBounds);
    // A small island in the pond with one tree.
    const Point isle{pond.x + 0.04f * s, pond.y - 0.02f * s};
    Disc(image, isle, 0.025f * s, Rgba{0.36f, 0.55f, 0.24f, 1.0f});
    Disc(image, {isle.x + 3.0f, isle.y + 3.0f}, 0.014f * s, Rgba{0.05f, 0.12f, 0.04f, 0.45f});
    Disc(image, isle, 0.014f * s, Rgba{0.16f, 0.38f, 0.12f, 1.0f});

    // Trees: dark crowns with a shadow to the lower right, kept off water,
    // paths and the street.
    auto nearPath = [&](float x, float y, float margin) {
        auto near = [&](const std::vector<Point>& pts) {
            for (std::size_t i = 0; i + 1 < pts.size(); ++i)
                if (DistanceToSegment({x, y}, pts[i], pts[i + 1]) < margin)
                    return true;
            return false;
        };
        for (const auto& w : walks)
            if (near(w))
                return true;
        return near(loop);
    };
    const float street = 0.055f * s;
    for (std::uint32_t i = 0; i < 420; ++i) {
        const float x = Hash01(i, 1, 21) * s;
        const float y = Hash01(i, 2, 21) * s;
        const float r = (0.012f + 0.016f * Hash01(i, 3, 21)) * s;
        if (x < street + r || y < street + r || x > s - street - r || y > s - street - r)
            continue;
        if (inPond(x, y, r + 0.03f * s) || nearPath(x, y, r + pathWidth * 0.7f))
            continue;
        if (std::hypot(x - 0.16f * s, y - 0.28f * s) < 0.06f * s + r)
            continue;
        const float tone = Hash01(i, 4, 21);
        Disc(image, {x + r * 0.35f, y + r * 0.35f}, r, Rgba{0.05f, 0.12f, 0.04f, 0.45f});
        Disc(image, {x, y}, r, Mix(Rgba{0.10f, 0.30f, 0.10f, 1}, Rgba{0.22f, 0.42f, 0.14f, 1}, tone));
        Disc(image, {x - r * 0.25f, y - r * 0.25f}, r * 0.55f, Rgba{0.35f, 0.55f, 0.22f, 0.35f});
    }

    // Streets on all four sides: kerb, asphalt with a centre line.
    const Rgba asphalt{0.30f, 0.30f, 0.32f, 1.0f};
    const Rgba kerb{0.72f, 0.71f, 0.68f, 1.0f};
    auto band = [&](float from, float to) {
        return [=](float x, float y) {
            const float d = std::min(std::min(x, y), std::min(s - x, s - y));
            return d >= from && d < to;
        };
    };
    image.Fill(band(0.0f, street), kerb);
    image.Fill(band(0.0f, street - 0.012f * s), asphalt);
    image.Fill(
        [&](float x, float y) {
            const float d = std::min(std::min(x, y), std::min(s - x, s - y));
            const float along = (x < street || s - x < street) ? y : x;
            return std::fabs(d - 0.022f * s) < 1.0f && std::fmod(along, 0.05f * s) < 0.03f * s;
        },
        Rgba{0.92f, 0.88f, 0.55f, 1.0f});
    // Street trees along the kerb.
    for (int i = 0; i < 4; ++i)
        for (int k = 1; k < 16; ++k) {
            const float t = static_cast<float>(k) / 16.0f * s;
            const float e = street + 0.02f * s;
            const Point p = i == 0 ? Point{t, e} : i == 1 ? Point{t, s - e} : i == 2 ? Point{e, t} : Point{s - e, t};
            if (nearPath(p.x, p.y, 0.03f * s))
                continue;
            Disc(image, {p.x + 3, p.y + 3}, 0.016f * s, Rgba{0.05f, 0.12f, 0.04f, 0.4f});
            Disc(image, p, 0.016f * s, Rgba{0.16f, 0.36f, 0.12f, 1.0f});
        }
    return image;
}

AssetImage MakeIslandTexture()
{
    const IslandHeights h = MakeIslandHeights();
    constexpr int G = kIslandGrid;
    auto height = [&](int r, int c) {
        return static_cast<float>(
            h[static_cast<std::size_t>(std::clamp(r, 0, G - 1))][static_cast<std::size_t>(std::clamp(c, 0, G - 1))]);
    };
    // Distance from every vertex to the nearest sea vertex (height 0) and to
    // the nearest land vertex, in grid steps, capped: they tell the beach from
    // the inland grass and the shallows from deeper water.
    auto distanceField = [&](bool toSea) {
        constexpr int kReach = 7;
        std::vector<float> field(static_cast<std::size_t>(G * G));
        for (int r = 0; r < G; ++r)
            for (int c = 0; c < G; ++c) {
                float best = static_cast<float>(kReach);
                for (int r2 = std::max(0, r - kReach); r2 <= std::min(G - 1, r + kReach); ++r2)
                    for (int c2 = std::max(0, c - kReach); c2 <= std::min(G - 1, c + kReach); ++c2)
                        if ((height(r2, c2) == 0.0f) == toSea)
                            best = std::min(best, std::hypot(static_cast<float>(r - r2), static_cast<float>(c - c2)));
                field[static_cast<std::size_t>(r * G + c)] = best;
            }
        return field;
    };
    const std::vector<float> seaDistance = distanceField(true);
    const std::vector<float> landDistance = distanceField(false);
    // Bilinear between the four vertices of the cell.
    auto sample = [&](const std::vector<float>& field, int r, int c, float fr, float fc) {
        auto at = [&](int rr, int cc) { return field[static_cast<std::size_t>(rr * G + cc)]; };
        return (at(r, c) * (1 - fc) + at(r, c + 1) * fc) * (1 - fr) +
               (at(r + 1, c) * (1 - fc) + at(r + 1, c + 1) * fc) * fr;
    };

    const Rgba wetSand{0.70f, 0.64f, 0.47f, 1};
    const Rgba shallow{0.28f, 0.62f, 0.62f, 1};
    const Rgba deep{0.14f, 0.38f, 0.52f, 1};
    const Rgba sand{0.90f, 0.83f, 0.62f, 1};
    const Rgba grass{0.40f, 0.62f, 0.24f, 1};
    const Rgba darkGrass{0.26f, 0.46f, 0.18f, 1};
    const Rgba scrub{0.40f, 0.42f, 0.20f, 1};
    const Rgba rock{0.60f, 0.56f, 0.50f, 1};
    const Rgba earth{0.46f, 0.38f, 0.27f, 1};

    const int n = kIslandSize;
    AssetImage image(n, n, Rgba{});
    for (int py = 0; py < n; ++py)
        for (int px = 0; px < n; ++px) {
            // Texel centre to continuous grid coordinates: u = column / 59,
            // v = 1 - row / 59, v = 0 at the top of the picture.
            const float u = (static_cast<float>(px) + 0.5f) / static_cast<float>(n);
            const float v = (static_cast<float>(py) + 0.5f) / static_cast<float>(n);
            const float gc = u * (G - 1);
            const float gr = (1.0f - v) * (G - 1);
            const int c = std::min(static_cast<int>(gc), G - 2);
            const int r = std::min(static_cast<int>(gr), G - 2);
            const float fc = gc - static_cast<float>(c);
            const float fr = gr - static_cast<float>(r);
            // The land mesh splits each cell into (a, a+1, b) and (b, a+1, b+1)
            // with a = (r, c) and b = (r + 1, c); interpolate on that triangle.
            const float ha = height(r, c);
            const float ha1 = height(r, c + 1);
            const float hb = height(r + 1, c);
            const float hb1 = height(r + 1, c + 1);
            float hgt;
            float dc;
            float dr;
            if (fc + fr <= 1.0f) {
                dc = ha1 - ha;
                dr = hb - ha;
                hgt = ha + fc * dc + fr * dr;
            } else {
                dc = hb1 - hb;
                dr = hb1 - ha1;
                hgt = hb1 - (1.0f - fc) * dc - (1.0f - fr) * dr;
            }
            // Vertices are 60/59 world units apart.
            const float slope = std::hypot(dc, dr) * (59.0f / 60.0f);
            const float sea = sample(seaDistance, r, c, fr, fc);
            const float land = sample(landDistance, r, c, fr, fc);

            const float wx = u * 60.0f;
            const float wz = v * 60.0f;
            const float noise = FractalNoise(wx * 0.35f, wz * 0.35f, 31, 5);
            const float fine = FractalNoise(wx * 2.5f, wz * 2.5f, 32, 3);
            const float grain = Hash01(static_cast<std::uint32_t>(px), static_cast<std::uint32_t>(py), 33);

            Rgba colour;
            if (hgt < 0.5f) {
                // Under the sea surface: wet sand, then shallows, then deeper water.
                colour = Mix(wetSand, shallow, Smoothstep(0.6f, 2.2f, land + (noise - 0.5f)));
                colour = Mix(colour, deep, Smoothstep(2.5f, 6.5f, land + (noise - 0.5f) * 2.0f));
            } else {
                // Low land: grass, sandy toward the shore; higher up darker
                // grass and scrub; the top steps rock.
                const float meadow = FractalNoise(wx * 0.8f, wz * 0.8f, 34, 3);
                Rgba land = Mix(grass, Rgba{0.52f, 0.64f, 0.30f, 1}, Smoothstep(0.45f, 0.75f, meadow) * 0.7f);
                land = Mix(land, darkGrass, Smoothstep(1.5f, 3.2f, hgt + (noise - 0.5f) * 0.8f));
                land = Mix(land, scrub, Smoothstep(3.0f, 4.6f, hgt + (noise - 0.5f) * 1.0f) * 0.8f);
                land = Mix(land, rock, Smoothstep(4.3f, 5.4f, hgt + (fine - 0.5f) * 0.6f));
                // Step faces show bare earth, or bare rock up high.
                land = Mix(land, hgt > 4.0f ? rock : earth, Smoothstep(0.5f, 1.0f, slope) * 0.55f);
                const float beach = 1.0f - Smoothstep(1.2f, 2.6f, sea + (noise - 0.5f) * 1.4f);
                colour = Mix(land, sand, std::max(beach, hgt < 1.0f ? 1.0f : 0.0f));
            }
            const float light = 0.88f + 0.24f * noise + 0.10f * (fine - 0.5f) + 0.06f * (grain - 0.5f);
            image.At(px, py) = Scaled(colour, light);
        }
    return image;
}

AssetImage MakeUpdraftTexture()
{
    const int w = kUpdraftWidth;
    const int h = kUpdraftHeight;
    AssetImage image(w, h, Rgba{});
    constexpr int kPeriod = 8;  // noise cells across the width: the pattern wraps
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float fx = static_cast<float>(x) / static_cast<float>(w) * kPeriod;
            const float fy = static_cast<float>(y) / static_cast<float>(h);
            // Streaks: noise that changes fast across and slowly along, with a
            // gentle sideways sway so they are not ruler-straight.
            const float sway = (FractalNoise(fy * 3.0f, 0.5f, 41, 2) - 0.5f) * 1.2f;
            const float streak = FractalNoise(fx + sway, fy * 1.5f, 42, 3, kPeriod);
            const float fineStreak = ValueNoise((fx + sway) * 4.0f, fy * 4.0f, 43, kPeriod * 4);
            const float s = Smoothstep(0.38f, 0.72f, streak) * 0.8f + Smoothstep(0.3f, 0.9f, fineStreak) * 0.2f;
            // Fade toward both ends of the column.
            const float ends = Smoothstep(0.0f, 0.18f, fy) * Smoothstep(1.0f, 0.82f, fy);
            const float alpha = (0.06f + 0.50f * s) * (0.5f + 0.5f * ends);
            const Rgba colour = Mix(Rgba{0.78f, 0.88f, 1.0f, 1}, Rgba{1.0f, 1.0f, 1.0f, 1}, s);
            image.At(x, y) = {colour.r, colour.g, colour.b, alpha};
        }
    return image;
}

AssetImage MakeIcon(int size)
{
    AssetImage image(size, size, Rgba{0, 0, 0, 0});
    const float s = static_cast<float>(size);
    const float corner = 0.18f * s;
    auto inRoundedSquare = [&](float x, float y) {
        const float cx = std::clamp(x, corner, s - corner);
        const float cy = std::clamp(y, corner, s - corner);
        return std::hypot(x - cx, y - cy) <= corner;
    };
    // Sky: deep blue above to pale near the bottom, with two soft clouds.
    AssetImage sky(size, size, Rgba{});
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float t = static_cast<float>(y) / s;
            Rgba c = Mix(Rgba{0.10f, 0.34f, 0.74f, 1}, Rgba{0.62f, 0.82f, 0.97f, 1}, t * t);
            const float fx = static_cast<float>(x) / s;
            const float cloud =
                Smoothstep(0.55f, 0.85f, FractalNoise(fx * 4.0f, t * 7.0f, 51, 4)) * Smoothstep(0.45f, 0.95f, t);
            sky.At(x, y) = Mix(c, Rgba{1, 1, 1, 1}, cloud * 0.8f);
        }
    image.Fill(inRoundedSquare, Rgba{1, 1, 1, 1});
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float a = image.At(x, y).a;
            image.At(x, y) = {sky.At(x, y).r, sky.At(x, y).g, sky.At(x, y).b, a};
        }

    // The sailplane seen from above and a little behind, banking gently.
    PreviewView view{{0.18f, -0.93f, 0.30f}, {0.12f, 0.0f, -1.0f}, true, false, 1.15f};
    const AssetImage plane = RenderPreview(MakeSailplaneMesh(), view, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const Rgba& p = plane.At(x, y);
            Rgba& d = image.At(x, y);
            const float a = d.a;
            d = Mix(d, Rgba{p.r, p.g, p.b, 1}, p.a);
            d.a = a;
        }
    return image;
}

}  // namespace assets
