#include "AssetImage.h"

#include <algorithm>
#include <cmath>

#include <stb/stb_image_write.h>

namespace assets {

Rgba Mix(const Rgba& a, const Rgba& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Rgba Scaled(const Rgba& c, float factor)
{
    return {c.r * factor, c.g * factor, c.b * factor, c.a};
}

float Smoothstep(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

AssetImage::AssetImage(int width, int height, const Rgba& fill)
    : m_Width(width), m_Height(height), m_Pixels(static_cast<std::size_t>(width * height), fill)
{}

void AssetImage::Fill(const std::function<bool(float, float)>& inside, const Rgba& colour, int subsamples)
{
    Fill(inside, colour, subsamples, Bounds{0.0f, 0.0f, static_cast<float>(m_Width), static_cast<float>(m_Height)});
}

void AssetImage::Fill(const std::function<bool(float, float)>& inside, const Rgba& colour, int subsamples,
                      const Bounds& bounds)
{
    const int bx0 = std::max(0, static_cast<int>(std::floor(bounds.x0)));
    const int by0 = std::max(0, static_cast<int>(std::floor(bounds.y0)));
    const int bx1 = std::min(m_Width - 1, static_cast<int>(std::ceil(bounds.x1)));
    const int by1 = std::min(m_Height - 1, static_cast<int>(std::ceil(bounds.y1)));
    const float step = 1.0f / static_cast<float>(subsamples);
    const float total = static_cast<float>(subsamples * subsamples);
    for (int y = by0; y <= by1; ++y)
        for (int x = bx0; x <= bx1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < subsamples; ++sy)
                for (int sx = 0; sx < subsamples; ++sx)
                    if (inside(static_cast<float>(x) + (static_cast<float>(sx) + 0.5f) * step,
                               static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) * step))
                        ++hits;
            if (hits > 0)
                Blend(x, y, colour, static_cast<float>(hits) / total);
        }
}

void AssetImage::Blend(int x, int y, const Rgba& colour, float coverage)
{
    const float t = colour.a * coverage;
    Rgba& p = At(x, y);
    const float alpha = p.a + (1.0f - p.a) * t;
    p = Mix(p, colour, t);
    p.a = alpha;
}

AssetImage AssetImage::Downsampled(int factor) const
{
    AssetImage out(m_Width / factor, m_Height / factor, Rgba{});
    const float weight = 1.0f / static_cast<float>(factor * factor);
    for (int y = 0; y < out.m_Height; ++y)
        for (int x = 0; x < out.m_Width; ++x) {
            Rgba sum{0, 0, 0, 0};
            for (int sy = 0; sy < factor; ++sy)
                for (int sx = 0; sx < factor; ++sx) {
                    const Rgba& p = At(x * factor + sx, y * factor + sy);
                    // Weight colour by alpha so transparent pixels do not darken edges.
                    sum.r += p.r * p.a;
                    sum.g += p.g * p.a;
                    sum.b += p.b * p.a;
                    sum.a += p.a;
                }
            Rgba& o = out.At(x, y);
            o.a = sum.a * weight;
            if (sum.a > 0.0f)
                o = {sum.r / sum.a, sum.g / sum.a, sum.b / sum.a, o.a};
            else
                o = {0, 0, 0, 0};
        }
    return out;
}

std::vector<std::uint8_t> AssetImage::ToBytes(int channels) const
{
    auto to8 = [](float v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    std::vector<std::uint8_t> bytes;
    bytes.reserve(m_Pixels.size() * static_cast<std::size_t>(channels));
    for (const Rgba& p : m_Pixels) {
        bytes.push_back(to8(p.r));
        bytes.push_back(to8(p.g));
        bytes.push_back(to8(p.b));
        if (channels == 4)
            bytes.push_back(to8(p.a));
    }
    return bytes;
}

bool AssetImage::WritePng(const std::string& path, int channels) const
{
    const std::vector<std::uint8_t> bytes = ToBytes(channels);
    return stbi_write_png(path.c_str(), m_Width, m_Height, channels, bytes.data(), m_Width * channels) != 0;
}

bool AssetImage::WriteJpg(const std::string& path, int quality) const
{
    const std::vector<std::uint8_t> bytes = ToBytes(3);
    return stbi_write_jpg(path.c_str(), m_Width, m_Height, 3, bytes.data(), quality) != 0;
}

namespace {

std::uint32_t Mix32(std::uint32_t h)
{
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

int Wrap(int v, int period)
{
    if (period <= 0)
        return v;
    const int m = v % period;
    return m < 0 ? m + period : m;
}

}  // namespace

float Hash01(std::uint32_t a, std::uint32_t b, std::uint32_t seed)
{
    const std::uint32_t h = Mix32(a * 0x9E3779B1U ^ Mix32(b * 0x85EBCA77U ^ Mix32(seed + 0x27d4eb2fU)));
    return static_cast<float>(h >> 8) / static_cast<float>(1U << 24);
}

float ValueNoise(float x, float y, std::uint32_t seed, int periodX)
{
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const float tx = Smoothstep(0.0f, 1.0f, x - fx);
    const float ty = Smoothstep(0.0f, 1.0f, y - fy);
    auto corner = [&](int cx, int cy) {
        return Hash01(static_cast<std::uint32_t>(Wrap(cx, periodX)), static_cast<std::uint32_t>(cy), seed);
    };
    const float top = corner(ix, iy) + (corner(ix + 1, iy) - corner(ix, iy)) * tx;
    const float bottom = corner(ix, iy + 1) + (corner(ix + 1, iy + 1) - corner(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}

float FractalNoise(float x, float y, std::uint32_t seed, int octaves, int periodX)
{
    float sum = 0.0f;
    float weight = 0.5f;
    float total = 0.0f;
    float scale = 1.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * ValueNoise(x * scale, y * scale, seed + static_cast<std::uint32_t>(i) * 101U,
                                   periodX > 0 ? periodX * static_cast<int>(scale) : 0);
        total += weight;
        weight *= 0.5f;
        scale *= 2.0f;
    }
    return sum / total;
}

}  // namespace assets
