#include "D3DXLastError.h"

#include <utility>

#include "d3dx9mesh.h"

namespace {

std::string& LastError()
{
    thread_local std::string text;
    return text;
}

}  // namespace

HRESULT D3DXFail(HRESULT hr, std::string message)
{
    // One line only: a file's own bytes may end up in the message.
    for (char& c : message)
        if (c == '\n' || c == '\r')
            c = ' ';
    LastError() = std::move(message);
    return hr;
}

const std::string& D3DXGetLastErrorEXT()
{
    return LastError();
}
