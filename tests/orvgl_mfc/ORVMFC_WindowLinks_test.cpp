#include <wx/app.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>

#include "MfcTestSupport.h"
#include "ORVMFC_MessageBox.h"
#include "ORVMFC_StatusText.h"
#include "ORVMFC_WindowHandle.h"
#include "ORV_StatusEcho.h"

namespace {

using WindowLinksTest = FrameTest;

TEST_F(WindowLinksTest, StatusSlotsWriteIntoTheirWindowsUntilTheyAreGone)
{
    auto* height = new wxStaticText(m_Frame, 1002, wxS(""));
    auto* speed = new wxStaticText(m_Frame, 1004, wxS(""));
    BindStatusToWindow(1, height);
    BindStatusToWindow(2, speed);
    BindStatusToWindow(3, height);
    BindStatusToWindow(7, speed);  // no such slot
    EchoToStatus1(L"12.500000");
    EchoToStatus2(L"0.300000");
    EXPECT_EQ(height->GetLabel(), "12.500000");
    EXPECT_EQ(speed->GetLabel(), "0.300000");
    // A destroyed read-out is skipped, the others carry on.
    height->Destroy();
    EchoToStatus1(L"dropped");
    EchoToStatus3(L"dropped");
    EchoToStatus2(L"0.4");
    EXPECT_EQ(speed->GetLabel(), "0.4");
    for (int slot = 0; slot < ORV_STATUS_SLOT_COUNT; ++slot)
        BindStatusToWindow(slot, nullptr);
}

// Answers modal dialogs instead of showing them, remembering the last one.
class MessageDialogCatcher : public wxModalDialogHook
{
public:
    MessageDialogCatcher() { Register(); }
    ~MessageDialogCatcher() override { Unregister(); }
    int Enter(wxDialog* dialog) override
    {
        if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
            seen = box->GetTitle() + "|" + box->GetMessage() + "|" +
                   (box->GetParent() != nullptr ? box->GetParent()->GetName() : "no parent") +
                   ((box->GetMessageDialogStyle() & wxICON_ERROR) != 0 ? "|error icon" : "");
        }
        return wxID_OK;
    }
    void Exit(wxDialog*) override {}

    wxString seen;
};

TEST_F(WindowLinksTest, MessageBoxesBecomeWxMessageBoxesOverTheOwnersFrame)
{
    SetMessageBoxHandler({});
    InstallMessageBoxHandler();
    MessageDialogCatcher catcher;
    m_Frame->SetName("owner");
    EXPECT_EQ(ORV_MessageBox(GetWindowHandle(new wxPanel(m_Frame)), L"Error!", L"Some::Operation", MB_ICONERROR), IDOK);
    EXPECT_EQ(catcher.seen, "Some::Operation|Error!|owner|error icon");
}

}  // namespace
