// An RGBA picture in floating point that the texture and icon generators
// paint on, with antialiased shape filling, value noise and PNG/JPEG output
// through stb_image_write. Owns its pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace assets {

struct Rgba
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;
};

Rgba Mix(const Rgba& a, const Rgba& b, float t);
Rgba Scaled(const Rgba& c, float factor);  // colour channels only
float Smoothstep(float edge0, float edge1, float x);

class AssetImage
{
public:
    AssetImage(int width, int height, const Rgba& fill);

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    Rgba& At(int x, int y) { return m_Pixels[static_cast<std::size_t>(y * m_Width + x)]; }
    const Rgba& At(int x, int y) const { return m_Pixels[static_cast<std::size_t>(y * m_Width + x)]; }

    // Paints colour over pixel (x, y) as if it covered the given share of it
    // (Porter-Duff "over"): colour blends by coverage x colour alpha, and the
    // pixel's alpha accumulates.
    void Blend(int x, int y, const Rgba& colour, float coverage);

    // Paints colour over every pixel in proportion to the share of its
    // subsamples (n x n) for which inside(x, y) holds; x and y are pixel
    // coordinates, the pixel (i, j) spanning i..i+1 and j..j+1.
    // Only pixels within the bounds (x0..x1, y0..y1, pixel coordinates,
    // clipped to the picture) are visited.
    struct Bounds
    {
        float x0, y0, x1, y1;
    };
    void Fill(const std::function<bool(float, float)>& inside, const Rgba& colour, int subsamples = 4);
    void Fill(const std::function<bool(float, float)>& inside, const Rgba& colour, int subsamples,
              const Bounds& bounds);

    // Averages blocks of factor x factor pixels (for supersampled drawing).
    AssetImage Downsampled(int factor) const;

    // Pixels as 8-bit channels, rows top first; 3 drops alpha, 4 keeps it.
    std::vector<std::uint8_t> ToBytes(int channels) const;

    bool WritePng(const std::string& path, int channels) const;
    bool WriteJpg(const std::string& path, int quality) const;

private:
    int m_Width;
    int m_Height;
    std::vector<Rgba> m_Pixels;
};

// Deterministic lattice noise in 0..1 (smoothly interpolated hash values).
// periodX > 0 makes it repeat every periodX units along x.
float ValueNoise(float x, float y, std::uint32_t seed, int periodX = 0);
// Sum of octaves of ValueNoise, each at twice the frequency and half the weight.
float FractalNoise(float x, float y, std::uint32_t seed, int octaves, int periodX = 0);
// A hash of integers into 0..1.
float Hash01(std::uint32_t a, std::uint32_t b, std::uint32_t seed);

}  // namespace assets
