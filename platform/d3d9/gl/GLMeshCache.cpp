#include "GLMeshCache.h"

#include <algorithm>
#include <cstring>

#include "GLApi.h"

GLMeshCache::Key GLMeshCache::KeyOf(const D3DMESHSUBSET_EXT& subset)
{
    return {reinterpret_cast<std::uintptr_t>(subset.key), subset.subset};
}

bool GLMeshCache::Matches(const Entry& entry, const D3DMESHSUBSET_EXT& subset)
{
    // The counts and layout are compared too: a mesh that changed them under
    // the same version must not be drawn from buffers of the old size.
    return entry.version == subset.version && entry.fvf == subset.fvf && entry.stride == subset.stride &&
           entry.numVertices == subset.numVertices && entry.numIndices == subset.numIndices;
}

bool GLMeshCache::NeedsUpload(const D3DMESHSUBSET_EXT& subset) const
{
    const auto it = m_Entries.find(KeyOf(subset));
    return it == m_Entries.end() || !Matches(it->second, subset);
}

const GLMeshCache::Entry& GLMeshCache::Prepare(const D3DMESHSUBSET_EXT& subset)
{
    Entry& entry = m_Entries[KeyOf(subset)];
    const bool fresh = entry.vertexBuffer == 0;
    if (fresh) {
        GLuint buffers[2] = {0, 0};
        glGenBuffers(2, buffers);
        entry.vertexBuffer = buffers[0];
        entry.indexBuffer = buffers[1];
    }
    glBindBuffer(GL_ARRAY_BUFFER, entry.vertexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, entry.indexBuffer);
    if (fresh || !Matches(entry, subset)) {
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(subset.numVertices) * subset.stride, subset.vertices,
                     GL_STATIC_DRAW);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(subset.numIndices) * sizeof(WORD), subset.indices,
                     GL_STATIC_DRAW);
        // Positions are the first three floats of every vertex.
        const auto* vertices = static_cast<const unsigned char*>(subset.vertices);
        for (UINT i = 0; i < subset.numIndices; ++i) {
            D3DXVECTOR3 p;
            std::memcpy(&p, vertices + static_cast<size_t>(subset.indices[i]) * subset.stride, sizeof p);
            if (i == 0) {
                entry.boundsMin = entry.boundsMax = p;
                continue;
            }
            entry.boundsMin = D3DXVECTOR3(std::min(entry.boundsMin.x, p.x), std::min(entry.boundsMin.y, p.y),
                                          std::min(entry.boundsMin.z, p.z));
            entry.boundsMax = D3DXVECTOR3(std::max(entry.boundsMax.x, p.x), std::max(entry.boundsMax.y, p.y),
                                          std::max(entry.boundsMax.z, p.z));
        }
        entry.version = subset.version;
        entry.fvf = subset.fvf;
        entry.stride = subset.stride;
        entry.numVertices = subset.numVertices;
        entry.numIndices = subset.numIndices;
        ++m_Uploads;
    }
    return entry;
}

bool GLMeshCache::IsOutsideClipVolume(const Entry& entry, const D3DXMATRIX& transform)
{
    // Clip coordinates of the box's corners. The clip volume is the meeting
    // of six half-spaces (-w <= x <= w, -w <= y <= w, 0 <= z <= w); corners
    // all outside one of them put the whole box outside it, whatever the
    // sign of w.
    unsigned int outside = 0x3F;
    for (int corner = 0; corner < 8; ++corner) {
        const D3DXVECTOR3& a = entry.boundsMin;
        const D3DXVECTOR3& b = entry.boundsMax;
        const float p[4] = {(corner & 1) ? b.x : a.x, (corner & 2) ? b.y : a.y, (corner & 4) ? b.z : a.z, 1.0f};
        float c[4];
        for (int column = 0; column < 4; ++column)
            c[column] = p[0] * transform.m[0][column] + p[1] * transform.m[1][column] + p[2] * transform.m[2][column] +
                        p[3] * transform.m[3][column];
        unsigned int planes = 0;
        planes |= c[0] < -c[3] ? 0x01u : 0u;
        planes |= c[0] > c[3] ? 0x02u : 0u;
        planes |= c[1] < -c[3] ? 0x04u : 0u;
        planes |= c[1] > c[3] ? 0x08u : 0u;
        planes |= c[2] < 0.0f ? 0x10u : 0u;
        planes |= c[2] > c[3] ? 0x20u : 0u;
        outside &= planes;
        if (outside == 0)
            return false;
    }
    return true;
}

void GLMeshCache::Forget(const void* key)
{
    const auto address = reinterpret_cast<std::uintptr_t>(key);
    auto it = m_Entries.lower_bound({address, 0});
    while (it != m_Entries.end() && it->first.first == address) {
        m_Deleter(GLDeleteQueue::Kind::Buffer, it->second.vertexBuffer);
        m_Deleter(GLDeleteQueue::Kind::Buffer, it->second.indexBuffer);
        it = m_Entries.erase(it);
    }
}

void GLMeshCache::Clear()
{
    for (const auto& [key, entry] : m_Entries) {
        m_Deleter(GLDeleteQueue::Kind::Buffer, entry.vertexBuffer);
        m_Deleter(GLDeleteQueue::Kind::Buffer, entry.indexBuffer);
    }
    m_Entries.clear();
}
