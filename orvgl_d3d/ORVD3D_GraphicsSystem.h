// The program's one graphics system: owns the Direct3D object and the one
// device, hands a swap chain to every view window, and keeps the two tables
// of shared resources (textures and meshes, owned here, handed out by file
// name). Reached only through GetInstance; never copied.
//
// The device is reference counted: resources and window handlers take their
// own references, so it lives until the last holder lets go.
#pragma once

#include "ORVD3D_FailedLoads.h"
#include "ORVD3D_MeshResource.h"
#include "ORVD3D_TextureResource.h"
#include "ORV_PointerArray.h"
#include "Window.h"
#include "d3d9.h"

class ORVD3D_GraphicsSystem
{
public:
    static ORVD3D_GraphicsSystem& GetInstance();

    virtual ~ORVD3D_GraphicsSystem();

    ORVD3D_GraphicsSystem(const ORVD3D_GraphicsSystem&) = delete;
    ORVD3D_GraphicsSystem& operator=(const ORVD3D_GraphicsSystem&) = delete;

    // Creates the interface and the device with the fixed states; true also
    // when both exist already.
    bool CreateGraphicsContext(HWND focusWindow);
    // One per view window: the first gets the device's implicit chain, later
    // ones an additional chain. Null for a non-window or an empty client
    // area. The caller owns one reference to the result.
    IDirect3DSwapChain9* CreateSwapChain(HWND viewWindow);
    IDirect3DDevice9* GetD3DDevice() const { return m_pD3DDevice; }
    bool IsContextValid() const { return m_pD3D != nullptr && m_pD3DDevice != nullptr; }
    // Deletes every resource and forgets every failed load, then releases
    // the device and the interface.
    void ReleaseGraphicsContext();

    // Looks fileName up in its table; on a miss (and createIfMissing) loads
    // it and adds it. Null for an empty name or a failed load. A failed load
    // is remembered: until the file changes, asking again repeats its status
    // report without reading the file. The table keeps ownership.
    ORVD3D_TextureResource* GetTextureResource(const wchar_t* fileName, bool createIfMissing);
    ORVD3D_MeshResource* GetMeshResource(const wchar_t* fileName, bool createIfMissing = true);
    // Puts a mesh built in memory into the mesh table under fileName, as if
    // it had been loaded from that file (used when the file could not be
    // written). The table takes its own reference to mesh. A name already
    // in the table keeps its resource, which is returned; null for an empty
    // name, a null mesh or no device.
    ORVD3D_MeshResource* AdoptMeshResource(const wchar_t* fileName, ID3DXMesh* mesh);

    // Forgets a failed load of fileName, so the next request looks for the
    // file at once (for a file the program has just written itself).
    void ForgetFailedLoad(const wchar_t* fileName);

    // Binds the named texture (loaded on first use) to stage; false, with the
    // stage untouched, when it cannot be had.
    bool ActivateTexture(const wchar_t* fileName, int stage);
    void DeactivateTexture(int stage);

    // Read-only views of the tables, sorted by file name in wcscmp order.
    const ORV_PointerArray<ORVD3D_TextureResource*>& GetTextureTable() const { return m_Textures; }
    const ORV_PointerArray<ORVD3D_MeshResource*>& GetMeshTable() const { return m_Meshes; }
    int GetSwapChainCount() const { return m_SwapChainCount; }

    // Test hook only: how long a failed load is reported from memory before
    // its files are looked at again (zero: on every request).
    void SetFailureRecheckIntervalEXT(ORVD3D_FailedLoads::Clock::duration interval);

    // Test hook only: releases the context and forgets the swap chains
    // handed out, as if the program had just started.
    void ResetForTestingEXT();

private:
    ORVD3D_GraphicsSystem();

    IDirect3D9* m_pD3D = nullptr;
    IDirect3DDevice9* m_pD3DDevice = nullptr;
    int m_SwapChainCount = 0;
    ORV_PointerArray<ORVD3D_TextureResource*> m_Textures;
    ORV_PointerArray<ORVD3D_MeshResource*> m_Meshes;
    ORVD3D_FailedLoads m_FailedTextures;
    ORVD3D_FailedLoads m_FailedMeshes;
};
