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

TEST_F(KeyboardTest, PollTakesASnapshotUpIsTheNegationOfDownAndNoDeviceHoldsNoKey)
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

    // Without a device no key is ever down, until initialised again.
    SetDIKeySource(nullptr);
    CKeyboardInput none;
    EXPECT_FALSE(none.Initialize(HWND(m_Window)));
    SetDIKeySource(m_Keys);
    none.Poll();
    EXPECT_FALSE(none.IsKeyDown(0));
    ASSERT_TRUE(none.Initialize(HWND(m_Window)));
    none.Poll();
    EXPECT_TRUE(none.IsKeyDown(0));
}

}  // namespace
