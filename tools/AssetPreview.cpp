#include "AssetPreview.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "AssetVector.h"

namespace assets {

namespace {

struct ScreenVertex
{
    float x, y, depth;
};

}  // namespace

AssetImage RenderPreview(const XFileMesh& mesh, const PreviewView& view, int size)
{
    constexpr int kSuper = 2;
    const int n = size * kSuper;
    AssetImage image(n, n, Rgba{0, 0, 0, 0});
    if (mesh.positions.empty())
        return image.Downsampled(kSuper);

    D3DXVECTOR3 lo = mesh.positions[0];
    D3DXVECTOR3 hi = lo;
    for (const auto& p : mesh.positions) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    const D3DXVECTOR3 centre = (lo + hi) * 0.5f;
    const float radius = std::max(Length(hi - lo) * 0.5f, 1e-6f);

    const D3DXVECTOR3 forward = Normalized(view.direction);
    const D3DXVECTOR3 right = Normalized(Cross(forward, view.up));
    const D3DXVECTOR3 up = Cross(right, forward);
    const float extent = radius * 1.05f / view.zoom;
    const float eyeDistance = radius * 3.0f;

    std::vector<ScreenVertex> screen(mesh.positions.size());
    for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
        const D3DXVECTOR3 d = mesh.positions[i] - centre;
        float x = Dot(d, right);
        float y = Dot(d, up);
        const float depth = Dot(d, forward) + eyeDistance;
        if (view.perspective) {
            // Same framing as the orthographic view at the centre's depth.
            x *= eyeDistance / depth;
            y *= eyeDistance / depth;
        }
        screen[i] = {(0.5f + 0.5f * x / extent) * static_cast<float>(n),
                     (0.5f - 0.5f * y / extent) * static_cast<float>(n), depth};
    }

    // Light mostly from the viewer's side, a little from above and the left,
    // so faces toward the camera are bright and the outline still shades.
    const D3DXVECTOR3 light = Normalized(up * 0.5f - right * 0.3f - forward * 0.9f);
    std::vector<float> zbuffer(static_cast<std::size_t>(n * n), std::numeric_limits<float>::infinity());

    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
        const auto& face = mesh.faces[f];
        const D3DXVECTOR3& a = mesh.positions[face[0]];
        const D3DXVECTOR3& b = mesh.positions[face[1]];
        const D3DXVECTOR3& c = mesh.positions[face[2]];
        D3DXVECTOR3 normal = Normalized(Cross(b - a, c - a));
        const bool backFacing = Dot(normal, forward) > 0.0f;
        if (backFacing)
            normal = -normal;  // two-sided lighting, as the game draws without culling
        const float lambert = std::max(0.0f, Dot(normal, light));
        Rgba base{0.8f, 0.8f, 0.8f, 1.0f};
        const std::uint32_t m = f < mesh.faceMaterials.size() ? mesh.faceMaterials[f] : 0;
        if (m < mesh.materials.size()) {
            const D3DCOLORVALUE& d = mesh.materials[m].material.Diffuse;
            base = {d.r, d.g, d.b, 1.0f};
        }
        if (backFacing && view.markBackFaces)
            base = {1.0f, 0.0f, 1.0f, 1.0f};
        const Rgba colour = Scaled(base, 0.28f + 0.72f * lambert);

        const ScreenVertex& s0 = screen[face[0]];
        const ScreenVertex& s1 = screen[face[1]];
        const ScreenVertex& s2 = screen[face[2]];
        const float area = (s1.x - s0.x) * (s2.y - s0.y) - (s1.y - s0.y) * (s2.x - s0.x);
        if (std::fabs(area) < 1e-12f)
            continue;
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({s0.x, s1.x, s2.x}))));
        const int x1 = std::min(n - 1, static_cast<int>(std::ceil(std::max({s0.x, s1.x, s2.x}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({s0.y, s1.y, s2.y}))));
        const int y1 = std::min(n - 1, static_cast<int>(std::ceil(std::max({s0.y, s1.y, s2.y}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const float px = static_cast<float>(x) + 0.5f;
                const float py = static_cast<float>(y) + 0.5f;
                // Barycentric weights from edge functions, either winding.
                const float w0 = ((s1.x - px) * (s2.y - py) - (s1.y - py) * (s2.x - px)) / area;
                const float w1 = ((s2.x - px) * (s0.y - py) - (s2.y - py) * (s0.x - px)) / area;
                const float w2 = 1.0f - w0 - w1;
                if (w0 < 0.0f || w1 < 0.0f || w2 < 0.0f)
                    continue;
                const float depth = w0 * s0.depth + w1 * s1.depth + w2 * s2.depth;
                float& z = zbuffer[static_cast<std::size_t>(y * n + x)];
                if (depth >= z)
                    continue;
                z = depth;
                image.At(x, y) = colour;
            }
    }
    return image.Downsampled(kSuper);
}

AssetImage RenderPreviewSheet(const XFileMesh& mesh, int size)
{
    const std::array<PreviewView, 4> views{{
        {{0, 0, -1}, {0, 1, 0}, false, true, 1.0f},   // from behind, looking toward the nose
        {{0, -1, 0}, {0, 0, -1}, false, true, 1.0f},  // from above, nose up the picture
        {{-1, 0, 0}, {0, 1, 0}, false, true, 1.0f},   // from the right side
        {{-0.55f, -0.45f, -0.7f}, {0, 1, 0}, true, true, 1.0f},
    }};
    AssetImage sheet(size * 2, size * 2, Rgba{0.62f, 0.72f, 0.82f, 1.0f});
    for (std::size_t i = 0; i < views.size(); ++i) {
        const AssetImage one = RenderPreview(mesh, views[i], size);
        const int ox = static_cast<int>(i % 2) * size;
        const int oy = static_cast<int>(i / 2) * size;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const Rgba& p = one.At(x, y);
                Rgba& dst = sheet.At(ox + x, oy + y);
                dst = Mix(dst, Rgba{p.r, p.g, p.b, 1.0f}, p.a);
            }
    }
    return sheet;
}

}  // namespace assets
