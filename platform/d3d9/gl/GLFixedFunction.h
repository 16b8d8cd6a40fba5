// OpenGL's state as last set by the device, and the rules that bring it in
// line with a Direct3D state shadow before a draw: the lighting program
// (GLLightingProgram) for transforming and lighting vertices, and GL's
// fixed function for everything after (texture stage 0, blending, depth,
// culling). Every GL value is cached, so a draw sends only what changed
// since the last one; a cache entry that is empty means "unknown to us" and
// is always sent.
//
// One per GL context (each context has state of its own), used only while
// that context is current. Owns no GL objects except what it uploads into
// textures it is handed, and its lighting program (ProgramName(), deleted
// by whoever holds the context).
#pragma once

#include <array>
#include <optional>
#include <string>

#include "D3DToGL.h"
#include "GLDeviceState.h"
#include "GLLightingProgram.h"
#include "GLTarget.h"
#include "GLVertexLayout.h"

class GLTexture;

class GLFixedFunction
{
public:
    // The settings that never change (first-vertex flat shading, specular
    // added after texturing ...), the lighting program built from
    // programText (the device's own when empty) and empty caches. Once per
    // context. False, with *error one line, when the program does not
    // compile or link.
    bool Initialise(const std::string& programText, std::string* error);

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

    // The lighting program's light slot i: which D3D index it shows (-1: off).
    int LightSlotIndex(int slot) const { return m_Program.LightSlotIndex(slot); }
    unsigned int ProgramName() const { return m_Program.Name(); }
    int UniformUploads() const { return m_Program.UniformUploads(); }

private:
    void ApplyRenderStates(const DWORD* rs);
    // viewport: the viewport in storage pixels.
    void ApplyTransforms(const GLDeviceState& state, const GLRect& viewport);
    void ApplyTexture(GLTexture* texture, const DWORD* stage);
    void Enable(unsigned int cap, bool on, std::optional<bool>& cached);
    void EnableClientArray(unsigned int array, bool on, std::optional<bool>& cached);

    GLLightingProgram m_Program;
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
