// Base of the resources loaded once from a file and shared by name through
// the graphics system's tables (textures, meshes).
//
// The table that created a resource owns it. While loaded, a resource holds
// its own reference to the device it was created on and its file name exactly
// as requested (the table key), not the path where the file was found.
#pragma once

#include <string>

#include "d3d9.h"

class ORVD3D_Resource
{
public:
    ORVD3D_Resource() = default;
    virtual ~ORVD3D_Resource();

    ORVD3D_Resource(const ORVD3D_Resource&) = delete;
    ORVD3D_Resource& operator=(const ORVD3D_Resource&) = delete;

    // Finds the file through the search list and creates the Direct3D object
    // from it; reports a failure to status slot 0.
    virtual bool Load(IDirect3DDevice9* device, const wchar_t* fileName);
    // Releases everything and returns to the constructed state.
    virtual void Unload();
    virtual bool CreateFromPath(const wchar_t* locatedPath) = 0;

    const wchar_t* GetFileName() const { return m_FileName.c_str(); }

    // Tries fileName as given, then in each search folder, and sets found to
    // the first candidate that opens for reading (empty when none does).
    static bool LocateFile(const wchar_t* fileName, std::wstring& found);

protected:
    IDirect3DDevice9* m_pDevice = nullptr;
    std::wstring m_FileName;
};
