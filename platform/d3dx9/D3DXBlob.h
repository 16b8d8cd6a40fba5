// The ID3DXBuffer of this library: a zeroed block of bytes, aligned for any
// type, freed with its last reference.
#pragma once

#include <cstddef>
#include <vector>

#include "RefCounted.h"
#include "d3dx9mesh.h"

class D3DXBlob final : public RefCounted<ID3DXBuffer>
{
public:
    explicit D3DXBlob(DWORD numBytes)
        : m_Storage((std::size_t{numBytes} + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t)), m_Size(numBytes)
    {}

    void* GetBufferPointer() override { return m_Storage.data(); }
    DWORD GetBufferSize() override { return m_Size; }

private:
    ~D3DXBlob() override = default;

    std::vector<std::max_align_t> m_Storage;
    DWORD m_Size;
};
