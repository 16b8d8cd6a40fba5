#include "GLFixedFunction.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "GLApi.h"
#include "GLTexture.h"

namespace {

template <class T, class Apply>
void Update(std::optional<T>& cached, const T& value, Apply&& apply)
{
    if (cached && *cached == value)
        return;
    apply(value);
    cached = value;
}

}  // namespace

void GLFixedFunction::Initialise(const std::string& programText)
{
    *this = GLFixedFunction{};
    m_ProgramText = programText;
    // Direct3D's flat shading takes the first vertex of each triangle (the
    // second of a fan's), which is GL's first-vertex convention.
    glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    // The program hands on the specular colour as the secondary colour;
    // with a vertex program GL adds it after texturing only when asked.
    glEnable(GL_COLOR_SUM);
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_DITHER);
    glDisable(GL_MULTISAMPLE);
    glDisable(GL_SCISSOR_TEST);
    glFrontFace(GL_CCW);
    // D3DRS_ALPHAREF and D3DRS_ALPHAFUNC keep their defaults (0, always).
    glAlphaFunc(GL_ALWAYS, 0.0f);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glActiveTexture(GL_TEXTURE0);
    glClientActiveTexture(GL_TEXTURE0);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_ALPHA, GL_SRC_ALPHA);
    glEnableClientState(GL_VERTEX_ARRAY);
}

void GLFixedFunction::Enable(unsigned int cap, bool on, std::optional<bool>& cached)
{
    Update(cached, on, [cap](bool v) { v ? glEnable(cap) : glDisable(cap); });
}

void GLFixedFunction::EnableClientArray(unsigned int array, bool on, std::optional<bool>& cached)
{
    Update(cached, on, [array](bool v) { v ? glEnableClientState(array) : glDisableClientState(array); });
}

bool GLFixedFunction::Apply(const DeviceState& state, const GLTarget& target, std::string* error)
{
    if (!ApplyProgram(state, error))
        return false;
    ApplyRenderStates(state.renderStates);
    ApplyTransforms(state,
                    target.ToStorage(state.viewport.X, state.viewport.Y, state.viewport.Width, state.viewport.Height));
    // The core binds only this device's textures.
    ApplyTexture(static_cast<GLTexture*>(state.textures[0]), state.stageStates[0]);
    ApplyViewport(state.viewport, target);
    // Direct3D's lines are a back-buffer pixel wide, however far the
    // present stretches them.
    SetLineWidth(std::max(1.0f, std::round(target.PixelScale())));
    return true;
}

bool GLFixedFunction::ApplyProgram(const DeviceState& state, std::string* error)
{
    GLLightingShader::Lights lights;
    const GLLightingShader shader = GLLightingShader::ForState(state, &lights, &m_LightIndex);
    // A text handed in stands for every program.
    const std::uint32_t key = m_ProgramText.empty() ? shader.Key() : 0u;
    auto it = m_Programs.find(key);
    if (it == m_Programs.end()) {
        if (const auto failed = m_FailedPrograms.find(key); failed != m_FailedPrograms.end()) {
            *error = failed->second;
            return false;
        }
        GLLightingProgram program;
        if (!program.Build(m_ProgramText.empty() ? shader.Text() : m_ProgramText, error)) {
            m_FailedPrograms.emplace(key, *error);
            return false;
        }
        it = m_Programs.emplace(key, std::move(program)).first;
    }
    GLLightingProgram& program = it->second;
    Update(m_CurrentProgram, program.Name(), [](unsigned int name) { glUseProgram(name); });
    if (shader.lighting)
        program.Send(state, lights);
    return true;
}

std::vector<unsigned int> GLFixedFunction::ProgramNames() const
{
    std::vector<unsigned int> names;
    for (const auto& [key, program] : m_Programs)
        names.push_back(program.Name());
    return names;
}

int GLFixedFunction::UniformUploads() const
{
    int uploads = 0;
    for (const auto& [key, program] : m_Programs)
        uploads += program.Uploads();
    return uploads;
}

void GLFixedFunction::ApplyRenderStates(const DWORD* rs)
{
    Enable(GL_DEPTH_TEST, rs[D3DRS_ZENABLE] != D3DZB_FALSE, m_DepthTest);
    Update(m_DepthMask, rs[D3DRS_ZWRITEENABLE] != FALSE, [](bool v) { glDepthMask(v ? GL_TRUE : GL_FALSE); });
    Update(m_DepthFunc, d3dtogl::CompareFunc(rs[D3DRS_ZFUNC]), [](unsigned int f) { glDepthFunc(f); });
    Enable(GL_ALPHA_TEST, rs[D3DRS_ALPHATESTENABLE] != FALSE, m_AlphaTest);

    Enable(GL_BLEND, rs[D3DRS_ALPHABLENDENABLE] != FALSE, m_Blend);
    const unsigned int src = d3dtogl::BlendFactor(rs[D3DRS_SRCBLEND]);
    const unsigned int dst = d3dtogl::BlendFactor(rs[D3DRS_DESTBLEND]);
    if (m_BlendSrc != src || m_BlendDst != dst) {
        glBlendFunc(src, dst);
        m_BlendSrc = src;
        m_BlendDst = dst;
    }
    Update(m_BlendEquation, d3dtogl::BlendEquation(rs[D3DRS_BLENDOP]), [](unsigned int e) { glBlendEquation(e); });

    // Front faces are counter-clockwise on screen (glFrontFace(GL_CCW)):
    // D3DCULL_CCW removes those, D3DCULL_CW the clockwise ones.
    const DWORD cull = rs[D3DRS_CULLMODE];
    Enable(GL_CULL_FACE, cull == D3DCULL_CW || cull == D3DCULL_CCW, m_CullFace);
    if (cull == D3DCULL_CW || cull == D3DCULL_CCW)
        Update(m_CullSide, cull == D3DCULL_CCW ? unsigned{GL_FRONT} : unsigned{GL_BACK},
               [](unsigned int side) { glCullFace(side); });

    Update(m_PolygonMode, d3dtogl::PolygonMode(rs[D3DRS_FILLMODE]),
           [](unsigned int mode) { glPolygonMode(GL_FRONT_AND_BACK, mode); });
    Update(m_ShadeModel, d3dtogl::ShadeModel(rs[D3DRS_SHADEMODE]), [](unsigned int mode) { glShadeModel(mode); });

    Update(m_PointSprite, rs[D3DRS_POINTSPRITEENABLE] != FALSE, [](bool v) {
        v ? glEnable(GL_POINT_SPRITE) : glDisable(GL_POINT_SPRITE);
        // Sprites run texture coordinates (0,0) top-left to (1,1)
        // bottom-right over the point, as Direct3D's do.
        glTexEnvi(GL_POINT_SPRITE, GL_COORD_REPLACE, v ? GL_TRUE : GL_FALSE);
    });
}

void GLFixedFunction::ApplyTransforms(const DeviceState& state, const GLRect& viewport)
{
    // Direct3D's pixel centres, in the pixels the frame is drawn at.
    const D3DXMATRIX projection = d3dtogl::ProjectionFromD3D(state.projection, static_cast<UINT>(viewport.width),
                                                             static_cast<UINT>(viewport.height));
    Update(m_Projection, projection, [](const D3DXMATRIX& p) {
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(&p.m[0][0]);
        glMatrixMode(GL_MODELVIEW);
    });

    // The program reads GL's modelview (and the normal matrix GL derives
    // from it), so that its positions match fixed function's exactly.
    const D3DXMATRIX view(state.view);
    const D3DXMATRIX world(state.World());
    if (!m_View || !(*m_View == view) || !m_World || !(*m_World == world)) {
        // Direct3D maps a point as p * world * view; the same sixteen floats
        // read column-major give GL's view * world.
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(&view.m[0][0]);
        glMultMatrixf(&world.m[0][0]);
        m_View = view;
        m_World = world;
    }
}

void GLFixedFunction::ApplyTexture(GLTexture* texture, const DWORD* stage)
{
    const bool active = texture != nullptr && stage[D3DTSS_COLOROP] != D3DTOP_DISABLE;
    Enable(GL_TEXTURE_2D, active, m_Texture2D);
    if (!active)
        return;

    if (texture->GLName() == 0) {
        GLuint name = 0;
        glGenTextures(1, &name);
        texture->SetGLName(name);
        glBindTexture(GL_TEXTURE_2D, name);
        m_BoundTexture = name;
        // One level only: without these the texture would be incomplete.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }
    Update(m_BoundTexture, texture->GLName(), [](unsigned int name) { glBindTexture(GL_TEXTURE_2D, name); });
    if (texture->NeedsUpload()) {
        // Pixels are 0xAARRGGBB words: bytes B, G, R, A in memory. Row 0 is
        // v = 0, which is GL's t = 0 as well. X8R8G8B8 ignores its alpha
        // byte, so it is stored without one and samples as opaque.
        const GLint internal = texture->Format() == D3DFMT_X8R8G8B8 ? GL_RGB8 : GL_RGBA8;
        glTexImage2D(GL_TEXTURE_2D, 0, internal, static_cast<GLsizei>(texture->Width()),
                     static_cast<GLsizei>(texture->Height()), 0, GL_BGRA, GL_UNSIGNED_BYTE, texture->Pixels());
        texture->MarkUploaded();
    }

    const DWORD colorArgs[2] = {stage[D3DTSS_COLORARG1], stage[D3DTSS_COLORARG2]};
    const DWORD alphaArgs[2] = {stage[D3DTSS_ALPHAARG1], stage[D3DTSS_ALPHAARG2]};
    Update(m_Combine, d3dtogl::CombineFromStage(stage[D3DTSS_COLOROP], colorArgs, stage[D3DTSS_ALPHAOP], alphaArgs),
           [](const d3dtogl::TextureCombine& c) {
               glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, static_cast<GLint>(c.combineRgb));
               glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_RGB, static_cast<GLint>(c.sourceRgb[0]));
               glTexEnvi(GL_TEXTURE_ENV, GL_SRC1_RGB, static_cast<GLint>(c.sourceRgb[1]));
               glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, c.rgbScale);
               glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, static_cast<GLint>(c.combineAlpha));
               glTexEnvi(GL_TEXTURE_ENV, GL_SRC0_ALPHA, static_cast<GLint>(c.sourceAlpha[0]));
               glTexEnvi(GL_TEXTURE_ENV, GL_SRC1_ALPHA, static_cast<GLint>(c.sourceAlpha[1]));
               glTexEnvf(GL_TEXTURE_ENV, GL_ALPHA_SCALE, c.alphaScale);
           });
}

void GLFixedFunction::ApplyViewport(const D3DVIEWPORT9& viewport, const GLTarget& target)
{
    // Direct3D counts Y from the top of the target, GL from the bottom.
    Update(m_Viewport, target.ToStorage(viewport.X, viewport.Y, viewport.Width, viewport.Height),
           [](const GLRect& r) { glViewport(r.x, r.y, r.width, r.height); });
    Update(m_DepthRange, std::make_pair(viewport.MinZ, viewport.MaxZ),
           [](const std::pair<float, float>& z) { glDepthRange(z.first, z.second); });
}

void GLFixedFunction::SetVertexArrays(const VertexFormat& layout, const unsigned char* base, UINT stride)
{
    const auto s = static_cast<GLsizei>(stride);
    glVertexPointer(3, GL_FLOAT, s, base);

    EnableClientArray(GL_NORMAL_ARRAY, layout.normalOffset >= 0, m_NormalArray);
    if (layout.normalOffset >= 0)
        glNormalPointer(GL_FLOAT, s, base + layout.normalOffset);
    else
        glNormal3f(0.0f, 0.0f, 0.0f);  // Direct3D lights a vertex without a normal by ambient and emissive only

    EnableClientArray(GL_COLOR_ARRAY, layout.diffuseOffset >= 0, m_ColorArray);
    if (layout.diffuseOffset >= 0)
        glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, s, base + layout.diffuseOffset);
    else
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);  // a vertex without a colour is opaque white

    EnableClientArray(GL_SECONDARY_COLOR_ARRAY, layout.specularOffset >= 0, m_SecondaryColorArray);
    if (layout.specularOffset >= 0)
        glSecondaryColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, s, base + layout.specularOffset);
    else
        glSecondaryColor3f(0.0f, 0.0f, 0.0f);  // and has no specular colour

    EnableClientArray(GL_TEXTURE_COORD_ARRAY, layout.texCoordOffset >= 0, m_TexCoordArray);
    if (layout.texCoordOffset >= 0)
        glTexCoordPointer(2, GL_FLOAT, s, base + layout.texCoordOffset);
    else
        glTexCoord4f(0.0f, 0.0f, 0.0f, 1.0f);
}

void GLFixedFunction::SetPointSize(float size)
{
    Update(m_PointSize, size, [](float s) { glPointSize(s); });
}

void GLFixedFunction::SetLineWidth(float width)
{
    Update(m_LineWidth, width, [](float w) { glLineWidth(w); });
}

void GLFixedFunction::BindBuffers(unsigned int arrayBuffer, unsigned int elementBuffer)
{
    Update(m_ArrayBuffer, arrayBuffer, [](unsigned int b) { glBindBuffer(GL_ARRAY_BUFFER, b); });
    Update(m_ElementBuffer, elementBuffer, [](unsigned int b) { glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, b); });
}

void GLFixedFunction::NoteBuffersBound(unsigned int arrayBuffer, unsigned int elementBuffer)
{
    m_ArrayBuffer = arrayBuffer;
    m_ElementBuffer = elementBuffer;
}

void GLFixedFunction::BindFramebuffer(unsigned int framebuffer)
{
    Update(m_Framebuffer, framebuffer, [](unsigned int f) { glBindFramebuffer(GL_FRAMEBUFFER, f); });
}

void GLFixedFunction::Clear(const D3DVIEWPORT9& viewport, const GLTarget& target, DWORD flags, D3DCOLOR color, float z,
                            DWORD stencil)
{
    GLbitfield bits = 0;
    if (flags & D3DCLEAR_TARGET) {
        Update(m_ClearColor, d3dtogl::FromARGB(color),
               [](const d3dtogl::Color4& c) { glClearColor(c.v[0], c.v[1], c.v[2], c.v[3]); });
        bits |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        Update(m_ClearDepth, z, [](float depth) { glClearDepth(depth); });
        // Direct3D's Clear ignores D3DRS_ZWRITEENABLE; GL's honours the mask.
        Update(m_DepthMask, true, [](bool) { glDepthMask(GL_TRUE); });
        bits |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_STENCIL) {
        Update(m_ClearStencil, stencil & 0xFFu, [](DWORD s) { glClearStencil(static_cast<GLint>(s)); });
        bits |= GL_STENCIL_BUFFER_BIT;
    }
    if (bits == 0)
        return;
    // Direct3D clears the viewport only; a viewport over the whole target
    // needs no scissor.
    const GLRect r = target.ToStorage(viewport.X, viewport.Y, viewport.Width, viewport.Height);
    const bool whole = r == GLRect{0, 0, target.storageWidth, target.storageHeight};
    if (!whole) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(r.x, r.y, r.width, r.height);
    }
    glClear(bits);
    if (!whole)
        glDisable(GL_SCISSOR_TEST);
}

void GLFixedFunction::ForgetTexture(unsigned int name)
{
    if (m_BoundTexture == name)
        m_BoundTexture.reset();
}

void GLFixedFunction::ForgetBuffer(unsigned int name)
{
    if (m_ArrayBuffer == name)
        m_ArrayBuffer.reset();
    if (m_ElementBuffer == name)
        m_ElementBuffer.reset();
}

void GLFixedFunction::ForgetFramebuffer(unsigned int name)
{
    if (m_Framebuffer == name)
        m_Framebuffer.reset();
}
