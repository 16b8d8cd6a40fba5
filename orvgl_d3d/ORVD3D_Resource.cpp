#include "ORVD3D_Resource.h"

#include <sys/stat.h>

#include <cstdio>

#include "ORV_StatusEcho.h"
#include "ORV_Utf8.h"

namespace {

// Folders tried after the name itself, in order; the empty entry ends the
// list. Textures and meshes share it: either may lie in the other's folder.
const wchar_t* const kSearchList[] = {L"", L"./Textures", L"Textures", L"./MeshFiles", L"MeshFiles", L""};

// True when path names a file that opens for reading. A folder opens on
// Linux too, but cannot be loaded from, so it does not count.
bool OpensForReading(const std::wstring& path)
{
    std::FILE* file = std::fopen(ORV_ToUtf8(path).c_str(), "r");
    if (file == nullptr)
        return false;
    struct stat info {};
    const bool isFolder = fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
    std::fclose(file);
    return !isFolder;
}

void Report(const std::wstring& fileName, const wchar_t* what)
{
    const std::wstring message = L"**ERROR** [" + fileName + L"]: " + what;
    EchoToStatus0(message.c_str());
}

}  // namespace

ORVD3D_Resource::~ORVD3D_Resource()
{
    ORVD3D_Resource::Unload();
}

bool ORVD3D_Resource::Load(IDirect3DDevice9* device, const wchar_t* fileName)
{
    // A copy: fileName may point into this resource's own name, which
    // Unload is about to clear.
    const std::wstring name = fileName != nullptr ? fileName : L"";
    Unload();

    m_pDevice = device;
    if (m_pDevice == nullptr)
        return false;
    m_pDevice->AddRef();
    m_FileName = name;

    std::wstring located;
    if (!LocateFile(name.c_str(), located)) {
        Report(name, L"file not found!");
        return false;
    }
    if (CreateFromPath(located.c_str()))
        return true;
    Report(name, L"open for loading failed!");
    return false;
}

void ORVD3D_Resource::Unload()
{
    if (m_pDevice != nullptr) {
        m_pDevice->Release();
        m_pDevice = nullptr;
    }
    m_FileName.clear();
}

bool ORVD3D_Resource::LocateFile(const wchar_t* fileName, std::wstring& found)
{
    found.clear();
    if (fileName == nullptr || *fileName == L'\0')
        return false;
    const std::wstring name = fileName;
    std::wstring candidate = name;
    std::size_t entry = 0;
    for (;;) {
        if (OpensForReading(candidate)) {
            found = candidate;
            break;
        }
        ++entry;
        if (*kSearchList[entry] == L'\0')
            break;
        candidate = std::wstring(kSearchList[entry]) + L"/" + name;
    }
    return !found.empty();
}
