// What the shell tests share: the toolkit started once per test program (on
// the virtual display the test runs under) with the game's application
// object, and a fixture working in a private data folder.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <wx/event.h>

#include "GameTestSupport.h"
#include "ORV_MessageBox.h"
#include "SoundSinks.h"

#include "tutorialapp.h"
#include "tutorialdlg.h"

// Lets the toolkit handle what is pending (events, repaints, idle work such
// as deleting closed windows) for about the given time.
void PumpEvents(std::chrono::milliseconds duration = std::chrono::milliseconds(50));
inline CTutorialApp& App()
{
    return *CTutorialApp::Get();
}
// Sends a key-down or key-up of wxKeyCode through the application's filter,
// as the toolkit does for a key pressed in any window.
void SendKey(int wxKeyCode, bool down);
// Sends a button click (EVT_BUTTON) from control id to window.
void ClickButton(wxWindow* window, int id);

// A fixture with a private data folder, a recording sound sink, a recording
// message box and the keyboard counted as the game's (no window manager
// activates windows here). MakeMainWindow shows a main window, waits until
// its views can draw, and stops its timer so that the test ticks by hand.
class ShellTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    CTutorialDlg& MakeMainWindow(bool stopTimer = true);
    void DestroyMainWindow() { delete std::exchange(m_Dialog, nullptr); }
    void Tick(int n = 1);
    int BlipCount() const;

    std::optional<ScopedDataFolder> m_Folder;
    std::shared_ptr<RecordingSoundSink> m_Sound = std::make_shared<RecordingSoundSink>();
    std::shared_ptr<SoundSink> m_PreviousSound;
    ORV_MessageBoxHandler m_PreviousMessageBox;
    std::vector<std::wstring> m_MessageBoxes;  // their texts
    CTutorialDlg* m_Dialog = nullptr;
};
