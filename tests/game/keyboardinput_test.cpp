// CKeyboardInput: a snapshot per Poll, and no device at all.
#include <gtest/gtest.h>

#include <memory>

#include "DIKeySource.h"
#include "TestWindow.h"
#include "keyboardinput.h"

namespace {

class KeyboardTest : public ::testing::Test
{
protected:
    void SetUp() override { m_Previous = SetDIKeySource(m_Keys); }
    void TearDown() override { SetDIKeySource(m_Previous); }

    std::shared_ptr<ScriptedKeySource> m_Keys = std::make_shared<ScriptedKeySource>();
    std::shared_ptr<DIKeySource> m_Previous;
    std::shared_ptr<TestWindow> m_Window = std::make_shared<TestWindow>();
};

TEST_F(KeyboardTest, PollTakesASnapshotAndUpIsAlwaysTheNegationOfDown)
{
    CKeyboardInput keyboard;
    ASSERT_TRUE(keyboard.Initialize(HWND(m_Window)));
    m_Keys->SetKeysDown({DIK_UP, DIK_P});
    EXPECT_FALSE(keyboard.IsKeyDown(DIK_UP));  // not polled yet
    keyboard.Poll();
    m_Keys->ReleaseAll();  // the snapshot does not follow the source
    EXPECT_TRUE(keyboard.IsKeyDown(DIK_UP));

    // Any byte with the high bit set is down, whatever the low bits.
    for (int code = 0; code < 256; ++code)
        m_Keys->SetKeyDown(code, code % 3 == 0);
    keyboard.Poll();
    for (int code = 0; code < 256; ++code) {
        EXPECT_NE(keyboard.IsKeyDown(code), keyboard.IsKeyUp(code)) << code;
        EXPECT_EQ(keyboard.IsKeyDown(code), code % 3 == 0) << code;
    }
    EXPECT_FALSE(keyboard.IsKeyDown(-1));
    EXPECT_FALSE(keyboard.IsKeyDown(256));
    EXPECT_TRUE(keyboard.IsKeyUp(256));
}

TEST_F(KeyboardTest, WithoutADeviceNoKeyIsEverDownUntilInitialisedAgain)
{
    SetDIKeySource(nullptr);
    CKeyboardInput keyboard;
    EXPECT_FALSE(keyboard.Initialize(HWND(m_Window)));
    SetDIKeySource(m_Keys);
    m_Keys->SetKeysDown({DIK_P});
    for (const bool initialise : {false, true}) {
        if (initialise) {
            ASSERT_TRUE(keyboard.Initialize(HWND(m_Window)));
        }
        keyboard.Poll();
        EXPECT_EQ(keyboard.IsKeyDown(DIK_P), initialise);
    }
}

}  // namespace
