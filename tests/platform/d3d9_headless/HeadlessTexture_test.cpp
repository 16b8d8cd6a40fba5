#include <gtest/gtest.h>

#include "HeadlessFixture.h"

namespace {

using HeadlessTextures = HeadlessFixture;

TEST_F(HeadlessTextures, CreateTextureTakesOneLevelOfArgbWithinLimits)
{
    IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(0x1);
    const UINT max = HeadlessTexture::kMaxSize;
    EXPECT_EQ(m_Device->CreateTexture(0, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(m_Device->CreateTexture(4, max + 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(m_Device->CreateTexture(4, 4, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL);
    ASSERT_EQ(m_Device->CreateTexture(max, 1, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &texture, nullptr), D3D_OK);
    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, max);
    EXPECT_EQ(desc.Pool, D3DPOOL_SYSTEMMEM);
    EXPECT_EQ(texture->GetLevelDesc(1, &desc), D3DERR_INVALIDCALL);
    EXPECT_EQ(texture->Release(), 0u);
}

TEST_F(HeadlessTextures, LockRectHandsOutTheRealPixelsRowsTopFirst)
{
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(m_Device->CreateTexture(3, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    auto* headless = dynamic_cast<HeadlessTexture*>(texture);

    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 12);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch)[x] = DWORD(y * 16 + x);
    D3DLOCKED_RECT second{};
    EXPECT_EQ(texture->LockRect(0, &second, nullptr, 0), D3DERR_INVALIDCALL);  // one lock at a time
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    EXPECT_EQ(texture->UnlockRect(0), D3DERR_INVALIDCALL);
    EXPECT_EQ(headless->Pixel(2, 1), 0x12u);

    // A rectangle's lock points at its top-left pixel.
    RECT rect{1, 1, 3, 2};
    ASSERT_EQ(texture->LockRect(0, &locked, &rect, 0), D3D_OK);
    EXPECT_EQ(*static_cast<DWORD*>(locked.pBits), 0x11u);
    texture->UnlockRect(0);
    // Rectangles reaching outside, empty or inverted are refused.
    for (RECT bad : {RECT{0, 0, 4, 2}, RECT{0, 0, 3, 3}, RECT{-1, 0, 1, 1}, RECT{1, 1, 1, 2}, RECT{2, 0, 1, 1}})
        EXPECT_EQ(texture->LockRect(0, &locked, &bad, 0), D3DERR_INVALIDCALL) << bad.left << "," << bad.right;
    EXPECT_FALSE(headless->IsLocked());
    texture->Release();
}

}  // namespace
