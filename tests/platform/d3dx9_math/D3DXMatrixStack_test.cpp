#include "MathTestSupport.h"

namespace {

class MatrixStackTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(D3DXCreateMatrixStack(0, &stack), S_OK); }
    void TearDown() override
    {
        if (stack)
        {
            EXPECT_EQ(stack->Release(), 0u);
        }
    }
    D3DXVECTOR3 Top(D3DXVECTOR3 p) { return Coord(p, *stack->GetTop()); }

    ID3DXMatrixStack* stack = nullptr;
};

TEST_F(MatrixStackTest, StartsAtIdentityAndRefusesToPopTheLastEntry)
{
    EXPECT_EQ(stack->GetDepth(), 1u);
    EXPECT_TRUE(D3DXMatrixIsIdentity(stack->GetTop()));
    stack->TranslateLocal(1, 2, 3);
    EXPECT_TRUE(FAILED(stack->Pop()));
    EXPECT_EQ(stack->GetDepth(), 1u);
    ExpectVecNear(Top({0, 0, 0}), {1, 2, 3});  // the failed pop kept the top

    EXPECT_EQ(D3DXCreateMatrixStack(0, nullptr), E_INVALIDARG);
}

TEST_F(MatrixStackTest, PushDuplicatesAndPopRestores)
{
    stack->TranslateLocal(5, 0, 0);
    EXPECT_EQ(stack->Push(), S_OK);
    EXPECT_EQ(stack->GetDepth(), 2u);
    ExpectVecNear(Top({0, 0, 0}), {5, 0, 0});
    stack->ScaleLocal(2, 2, 2);
    ExpectVecNear(Top({1, 1, 1}), {7, 2, 2});

    // LoadIdentity replaces only the top.
    stack->LoadIdentity();
    EXPECT_TRUE(D3DXMatrixIsIdentity(stack->GetTop()));
    EXPECT_EQ(stack->Pop(), S_OK);
    EXPECT_EQ(stack->GetDepth(), 1u);
    ExpectVecNear(Top({0, 0, 0}), {5, 0, 0});

    D3DXMATRIX m;
    D3DXMatrixScaling(&m, 3, 3, 3);
    stack->LoadMatrix(&m);
    EXPECT_EQ(*stack->GetTop(), m);
}

TEST_F(MatrixStackTest, LocalOperationsActInTheTopsFrame)
{
    // Top = scale 2; a local translation is scaled by it.
    stack->ScaleLocal(2, 2, 2);
    stack->TranslateLocal(1, 0, 0);
    ExpectVecNear(Top({0, 0, 0}), {2, 0, 0});

    // Top = translate (10, 0, 0) then a local 90 degree turn about Z: the
    // point is turned first, then moved.
    stack->LoadIdentity();
    stack->TranslateLocal(10, 0, 0);
    D3DXMATRIX r;
    const D3DXVECTOR3 z(0, 0, 1);
    D3DXMatrixRotationAxis(&r, &z, 1.5707963f);
    stack->MultMatrixLocal(&r);
    ExpectVecNear(Top({1, 0, 0}), {10, 1, 0});
    stack->ScaleLocal(1, 3, 1);
    ExpectVecNear(Top({0, 1, 0}), {7, 0, 0});
}

TEST_F(MatrixStackTest, ReferenceCountingFreesAtZero)
{
    EXPECT_EQ(stack->AddRef(), 2u);
    EXPECT_EQ(stack->Release(), 1u);
    // The last reference is dropped in TearDown; the sanitizer build checks
    // that it is freed exactly once.
}

}  // namespace
