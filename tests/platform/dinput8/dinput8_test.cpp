// The DirectInput keyboard over a key source.
#include <gtest/gtest.h>

#include <memory>

#include "DIKeySource.h"
#include "TestWindow.h"
#include "dinput.h"

namespace {

TEST(DirectInputTest, ABackgroundKeyboardReadsAnyWindowAForegroundOneOnlyItsOwn)
{
    const auto source = std::make_shared<ScriptedKeySource>();
    const std::shared_ptr<DIKeySource> previous = SetDIKeySource(source);
    const auto window = std::make_shared<TestWindow>();
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(DirectInput8Create(GetModuleHandleW(nullptr), 0x0700, IID_IDirectInput8W, &out, nullptr),
              DIERR_OLDDIRECTINPUTVERSION);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(DirectInput8Create(GetModuleHandleW(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8W, nullptr, nullptr),
              DIERR_INVALIDPARAM);

    ASSERT_EQ(DirectInput8Create(GetModuleHandleW(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8W, &out, nullptr),
              DI_OK);
    IDirectInput8W* input = static_cast<IDirectInput8W*>(out);
    IDirectInputDevice8W* device = reinterpret_cast<IDirectInputDevice8W*>(1);
    // Without a key source there is no keyboard.
    SetDIKeySource(nullptr);
    EXPECT_EQ(input->CreateDevice(GUID_SysKeyboard, &device, nullptr), DIERR_DEVICENOTREG);
    EXPECT_EQ(device, nullptr);
    SetDIKeySource(source);
    ASSERT_EQ(input->CreateDevice(GUID_SysKeyboard, &device, nullptr), DI_OK);

    // A background keyboard reads whatever window is active.
    device->SetDataFormat(&c_dfDIKeyboard);
    ASSERT_EQ(device->SetCooperativeLevel(HWND(), DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DI_OK);
    source->SetActive(false);
    source->SetKeyDown(DIK_SPACE, true);
    source->SetKeyDown(300, true);  // not a key: ignored
    ASSERT_EQ(device->Acquire(), DI_OK);
    BYTE keys[256] = {};
    ASSERT_EQ(device->GetDeviceState(sizeof keys, keys), DI_OK);
    EXPECT_EQ(keys[DIK_SPACE], 0x80);
    EXPECT_EQ(device->Release(), 0u);

    // A foreground keyboard is read only while its window is active.
    IDirectInputDevice8W* keyboard = nullptr;
    ASSERT_EQ(input->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), DI_OK);
    source->SetActive(true);
    // Nothing is read before the format is set and the device acquired.
    EXPECT_EQ(keyboard->Acquire(), DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    EXPECT_EQ(keyboard->SetCooperativeLevel(HWND(), DISCL_EXCLUSIVE | DISCL_FOREGROUND), DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->SetCooperativeLevel(HWND(window), DISCL_EXCLUSIVE | DISCL_FOREGROUND), DI_OK);
    EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DIERR_NOTACQUIRED);

    source->SetKeysDown({DIK_P, DIK_LEFT});
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    EXPECT_EQ(keyboard->GetDeviceState(255, keys), DIERR_INVALIDPARAM);
    ASSERT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DI_OK);
    EXPECT_EQ(keys[DIK_P], 0x80);
    EXPECT_EQ(keys[DIK_LEFT], 0x80);
    EXPECT_EQ(keys[DIK_RIGHT], 0x00);
    // Format and level cannot change while acquired.
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DIERR_INVALIDPARAM);

    // The window loses the foreground: the read fails and the device is
    // lost until acquired again, which works only once the window is back.
    source->SetActive(false);
    EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DIERR_INPUTLOST);
    EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DIERR_NOTACQUIRED);
    EXPECT_EQ(keyboard->Acquire(), DIERR_OTHERAPPHASPRIO);
    source->SetActive(true);
    EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DIERR_NOTACQUIRED);
    EXPECT_EQ(keyboard->Acquire(), DI_OK);
    EXPECT_EQ(keyboard->GetDeviceState(sizeof keys, keys), DI_OK);

    EXPECT_EQ(keyboard->Release(), 0u);
    EXPECT_EQ(input->Release(), 0u);
    SetDIKeySource(previous);
}

}  // namespace
