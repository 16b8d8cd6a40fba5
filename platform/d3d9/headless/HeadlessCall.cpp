#include "HeadlessCall.h"

#include <cstring>
#include <stdexcept>

namespace {

// Copies size bytes of field at (vertex, offset) out of the recorded bytes;
// memcpy because the vertex data carries no alignment promise.
void ReadField(const HeadlessCall& call, UINT vertex, UINT offset, void* out, size_t size)
{
    if (call.stride == 0 || vertex >= call.vertexCount || size_t{offset} + size > call.stride)
        throw std::out_of_range(call.name + ": vertex field outside the recorded vertices");
    const size_t start = size_t{vertex} * call.stride + offset;
    if (start + size > call.vertices.size())
        throw std::out_of_range(call.name + ": vertex field outside the recorded bytes");
    std::memcpy(out, call.vertices.data() + start, size);
}

}  // namespace

DWORD HeadlessCall::Arg(size_t i) const
{
    if (i >= args.size())
        throw std::out_of_range(name + ": no argument " + std::to_string(i));
    return args[i];
}

float HeadlessCall::VertexFloat(UINT vertex, UINT offset) const
{
    float value = 0.0f;
    ReadField(*this, vertex, offset, &value, sizeof value);
    return value;
}

DWORD HeadlessCall::VertexDword(UINT vertex, UINT offset) const
{
    DWORD value = 0;
    ReadField(*this, vertex, offset, &value, sizeof value);
    return value;
}

D3DXVECTOR3 HeadlessCall::VertexVector3(UINT vertex, UINT offset) const
{
    float xyz[3] = {};
    ReadField(*this, vertex, offset, xyz, sizeof xyz);
    return {xyz[0], xyz[1], xyz[2]};
}
