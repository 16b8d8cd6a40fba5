#include "D3DXLastError.h"

#include <utility>

#include "Utf8.h"
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

std::optional<std::string> D3DXFilePath(const wchar_t* name, const char* call)
{
    std::optional<std::string> path = name ? WideToUtf8Exactly(name) : std::nullopt;
    if (!path)
        D3DXFail(D3DERR_INVALIDCALL, std::string(call) + ": the file name is missing or not valid Unicode");
    return path;
}

const std::string& D3DXGetLastErrorEXT()
{
    return LastError();
}
