#include "GLMeshCache.h"

#include "GLApi.h"

bool GLMeshCache::IsWellFormed(const D3DMESHSUBSET_EXT& subset, const GLVertexLayout& layout)
{
    if (!layout.valid || subset.stride < layout.size || subset.numIndices % 3 != 0)
        return false;
    return subset.numIndices == 0 || (subset.indices && subset.vertices && subset.numVertices > 0);
}

bool GLMeshCache::IndicesInRange(const D3DMESHSUBSET_EXT& subset)
{
    for (UINT i = 0; i < subset.numIndices; ++i) {
        if (subset.indices[i] >= subset.numVertices)
            return false;
    }
    return true;
}

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
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(subset.numIndices) * sizeof(WORD),
                     subset.indices, GL_STATIC_DRAW);
        entry.version = subset.version;
        entry.fvf = subset.fvf;
        entry.stride = subset.stride;
        entry.numVertices = subset.numVertices;
        entry.numIndices = subset.numIndices;
        ++m_Uploads;
    }
    return entry;
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
