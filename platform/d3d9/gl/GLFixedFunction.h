// OpenGL's state as last set by the device, and the rules that bring it in
// line with a Direct3D state shadow before a draw: a lighting program for
// transforming and lighting vertices (one per combination of lights and
// switches the draws need, see GLLightingShader, built at first need), and
// GL's fixed function for everything after (texture stage 0, blending,
// depth, culling). Every GL value is cached, so a draw sends only what changed
// since the last one; a cache entry that is empty means "unknown to us" and
// is always sent.
//
// One per GL context (each context has state of its own), used only while
// that context is current. Owns no GL objects except what it uploads into
// textures it is handed, and its lighting programs (ProgramNames(), deleted
// by whoever holds the context).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "D3DToGL.h"
#include "DeviceState.h"
#include "GLLightingProgram.h"
#include "GLLightingShader.h"
#include "GLTarget.h"
#include "VertexFormat.h"

class GLTexture;

class GLFixedFunction
{
public:
    // The settings that never change (first-vertex flat shading, specular
    // added after texturing ...) and empty caches. Once per context.
    // programText: GLSL to use for every lighting program instead of the
    // device's own (empty: its own).
    void Initialise(const std::string& programText);

    // Render states, material, transforms, lights, texture stage 0 and the
    // viewport, for drawing into target. False, with *error one line
    // quoting the driver, when the lighting program the draw needs does not
    // compile or link; the draw must then be left out.
    bool Apply(const DeviceState& state, const GLTarget& target, std::string* error);
    void ApplyViewport(const D3DVIEWPORT9& viewport, const GLTarget& target);

    // Vertex arrays of layout starting at base: a client pointer, or an
    // offset into the bound GL_ARRAY_BUFFER.
    void SetVertexArrays(const VertexFormat& layout, const unsigned char* base, UINT stride);
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

    // The lighting program's light slot i at the last lit draw: which D3D
    // index it shows (-1: off).
    int LightSlotIndex(int slot) const { return m_LightIndex[static_cast<size_t>(slot)]; }
    std::vector<unsigned int> ProgramNames() const;
    // Uniform values sent to the lighting programs so far.
    int UniformUploads() const;

private:
    void ApplyRenderStates(const DWORD* rs);
    bool ApplyProgram(const DeviceState& state, std::string* error);
    // viewport: the viewport in storage pixels.
    void ApplyTransforms(const DeviceState& state, const GLRect& viewport);
    void ApplyTexture(GLTexture* texture, const DWORD* stage);
    void Enable(unsigned int cap, bool on, std::optional<bool>& cached);
    void EnableClientArray(unsigned int array, bool on, std::optional<bool>& cached);

    std::string m_ProgramText;
    std::map<std::uint32_t, GLLightingProgram> m_Programs;  // by GLLightingShader::Key()
    std::map<std::uint32_t, std::string> m_FailedPrograms;  // and why
    std::optional<unsigned int> m_CurrentProgram;
    std::array<int, GLLightingShader::kMaxLights> m_LightIndex{-1, -1, -1, -1, -1, -1, -1, -1};
    std::optional<bool> m_DepthTest, m_AlphaTest, m_Blend, m_CullFace, m_PointSprite, m_Texture2D;
    std::optional<bool> m_DepthMask;
    std::optional<unsigned int> m_DepthFunc, m_BlendSrc, m_BlendDst, m_BlendEquation, m_CullSide, m_PolygonMode,
        m_ShadeModel;
    std::optional<D3DXMATRIX> m_Projection;
    std::optional<D3DXMATRIX> m_View;
    std::optional<D3DXMATRIX> m_World;
    std::optional<unsigned int> m_BoundTexture;
    std::optional<d3dtogl::TextureCombine> m_Combine;
    std::optional<float> m_PointSize;
    std::optional<float> m_LineWidth;
    std::optional<bool> m_NormalArray, m_ColorArray, m_SecondaryColorArray, m_TexCoordArray;
    std::optional<unsigned int> m_ArrayBuffer, m_ElementBuffer, m_Framebuffer;
    std::optional<GLRect> m_Viewport;
    std::optional<std::pair<float, float>> m_DepthRange;
    std::optional<d3dtogl::Color4> m_ClearColor;
    std::optional<float> m_ClearDepth;
    std::optional<DWORD> m_ClearStencil;
};
