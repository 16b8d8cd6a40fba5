// GL vertex and index buffers of the system-memory mesh subsets drawn
// through DrawMeshSubsetEXT: one pair per (mesh key, subset), uploaded when
// first drawn and again only when the mesh's version changed.
//
// Ownership: owns the GL names; frees them through the deleter it was given
// (which deletes now or defers until the context is current).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "GLDeleteQueue.h"
#include "VertexFormat.h"
#include "d3d9.h"

class GLMeshCache
{
public:
    using Deleter = std::function<void(GLDeleteQueue::Kind, unsigned int)>;

    struct Entry
    {
        unsigned int vertexBuffer = 0;
        unsigned int indexBuffer = 0;
        unsigned long long version = 0;
        DWORD fvf = 0;
        UINT stride = 0;
        UINT numVertices = 0;
        UINT numIndices = 0;
        // The box round the positions of the subset's indexed vertices, in
        // the mesh's own space.
        D3DXVECTOR3 boundsMin{0.0f, 0.0f, 0.0f};
        D3DXVECTOR3 boundsMax{0.0f, 0.0f, 0.0f};
    };

    explicit GLMeshCache(Deleter deleter) : m_Deleter(std::move(deleter)) {}
    ~GLMeshCache() { Clear(); }
    GLMeshCache(const GLMeshCache&) = delete;
    GLMeshCache& operator=(const GLMeshCache&) = delete;

    // True when Prepare would upload: a new subset, another version, or
    // other counts or layout.
    bool NeedsUpload(const D3DMESHSUBSET_EXT& subset) const;

    // The buffers for subset, uploaded if NeedsUpload (the context must be
    // current; the subset must be well formed with its indices in range). Leaves them
    // bound to GL_ARRAY_BUFFER and GL_ELEMENT_ARRAY_BUFFER.
    const Entry& Prepare(const D3DMESHSUBSET_EXT& subset);
    // Frees the buffers of every subset of key.
    void Forget(const void* key);
    // Frees everything.
    void Clear();

    // True when the entry's box lies wholly outside one plane of the clip
    // volume under transform (world, view and projection, Direct3D's depth
    // 0..1): none of it can reach a pixel.
    static bool IsOutsideClipVolume(const Entry& entry, const D3DXMATRIX& transform);

    int UploadCount() const { return m_Uploads; }
    size_t Size() const { return m_Entries.size(); }

private:
    Deleter m_Deleter;
    // Keyed by the address as a number, so ordering different meshes is defined.
    using Key = std::pair<std::uintptr_t, DWORD>;
    static Key KeyOf(const D3DMESHSUBSET_EXT& subset);
    static bool Matches(const Entry& entry, const D3DMESHSUBSET_EXT& subset);
    std::map<Key, Entry> m_Entries;
    int m_Uploads = 0;
};
