// OpenGL's fixed-function state as last set by the device, and the rules
// that bring it in line with a Direct3D state shadow before a draw. Every
// GL value is cached, so a draw sends only what changed since the last one;
// a cache entry that is empty means "unknown to us" and is always sent.
//
// One per GL context (each context has state of its own), used only while
// that context is current. Owns no GL objects except what it uploads into
// textures it is handed.
#pragma once

#include <array>
#include <optional>

#include "D3DToGL.h"
#include "GLDeviceState.h"
#include "GLTarget.h"
#include "GLVertexLayout.h"

class GLTexture;

class GLFixedFunction
{
public:
    static constexpr int kMaxLights = 8;

    // The settings that never change (first-vertex flat shading, separate
    // specular, no colour material ...) and empty caches. Once per context.
    void Initialise();
    // Forget everything cached (the context's state is no longer known).
    void Invalidate();

    // Render states, material, transforms, lights, texture stage 0 and the
    // viewport, for drawing into target.
    void Apply(const GLDeviceState& state, const GLTarget& target);
    void ApplyViewport(const D3DVIEWPORT9& viewport, const GLTarget& target);

    // Vertex arrays of layout starting at base: a client pointer, or an
    // offset into the bound GL_ARRAY_BUFFER.
    void SetVertexArrays(const GLVertexLayout& layout, const unsigned char* base, UINT stride);
    void SetPointSize(float size);
    void SetLineWidth(float width);
    void BindBuffers(unsigned int arrayBuffer, unsigned int elementBuffer);
    void NoteBuffersBound(unsigned int arrayBuffer, unsigned int elementBuffer);
    void BindFramebuffer(unsigned int framebuffer);
    // After someone else bound framebuffers (a window, a blit).
    void ForgetFramebufferBinding() { m_Framebuffer.reset(); }

    // Clears the viewport's rectangle only (scissored), whatever the depth
    // write state; flags are D3DCLEAR_*.
    void Clear(const D3DVIEWPORT9& viewport, const GLTarget& target, DWORD flags, D3DCOLOR color, float z,
               DWORD stencil);
    // Scissoring is off outside Clear, so blits see the whole buffer.

    // The object is being deleted: drop it from the binding caches, since GL
    // reuses names.
    void ForgetTexture(unsigned int name);
    void ForgetBuffer(unsigned int name);
    void ForgetFramebuffer(unsigned int name);

    // GL light slot i: which D3D index it shows (-1: off).
    int LightSlotIndex(int slot) const { return m_LightIndex[static_cast<size_t>(slot)]; }

private:
    void ApplyRenderStates(const DWORD* rs);
    void ApplyMaterial(const D3DMATERIAL9& material, bool specular);
    // viewport: the viewport in storage pixels.
    void ApplyTransformsAndLights(const GLDeviceState& state, const GLRect& viewport);
    void ApplyTexture(GLTexture* texture, const DWORD* stage);
    void Enable(unsigned int cap, bool on, std::optional<bool>& cached);
    void EnableClientArray(unsigned int array, bool on, std::optional<bool>& cached);

    struct MaterialValues
    {
        d3dtogl::Color4 ambient, diffuse, specular, emission;
        float shininess;
        bool operator==(const MaterialValues& o) const
        {
            return ambient == o.ambient && diffuse == o.diffuse && specular == o.specular &&
                   emission == o.emission && shininess == o.shininess;
        }
    };

    std::optional<bool> m_DepthTest, m_AlphaTest, m_Blend, m_CullFace, m_Lighting, m_Normalize, m_PointSprite,
        m_Texture2D;
    std::optional<bool> m_DepthMask;
    std::optional<unsigned int> m_DepthFunc, m_BlendSrc, m_BlendDst, m_BlendEquation, m_CullSide, m_PolygonMode,
        m_ShadeModel;
    std::optional<bool> m_LocalViewer;
    std::optional<d3dtogl::Color4> m_GlobalAmbient;
    std::optional<MaterialValues> m_Material;
    std::optional<D3DXMATRIX> m_Projection;
    std::optional<D3DXMATRIX> m_View;
    std::optional<D3DXMATRIX> m_World;
    std::optional<D3DXMATRIX> m_LightView;  // the view the light positions were given under
    std::array<std::optional<d3dtogl::LightParameters>, kMaxLights> m_Lights;  // empty: slot off or unknown
    std::array<std::optional<bool>, kMaxLights> m_LightOn;
    std::array<int, kMaxLights> m_LightIndex{};
    std::optional<unsigned int> m_BoundTexture;
    std::optional<d3dtogl::TextureCombine> m_Combine;
    std::optional<float> m_PointSize;
    std::optional<float> m_LineWidth;
    std::optional<bool> m_NormalArray, m_ColorArray, m_TexCoordArray;
    std::optional<unsigned int> m_ArrayBuffer, m_ElementBuffer, m_Framebuffer;
    std::optional<GLRect> m_Viewport;
    std::optional<std::pair<float, float>> m_DepthRange;
    std::optional<d3dtogl::Color4> m_ClearColor;
    std::optional<float> m_ClearDepth;
    std::optional<DWORD> m_ClearStencil;
};
