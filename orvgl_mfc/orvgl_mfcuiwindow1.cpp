#include "orvgl_mfcuiwindow1.h"

#include <wx/dc.h>
#include <wx/panel.h>

#include "ORVMFC_MouseFlags.h"
#include "ORVMFC_ViewCanvas.h"
#include "ORVMFC_WindowHandle.h"
#include "ORV_MessageBox.h"

namespace {

// The control with id among dialog's descendants. Dialog templates nest
// controls in panels under wx, so the search goes down the tree; it skips
// dialog itself and the top-level windows it owns.
wxWindow* FindPlaceholder(wxWindow* dialog, int id)
{
    for (wxWindow* child : dialog->GetChildren()) {
        if (child->IsTopLevel())
            continue;
        if (wxWindow* found = child->FindWindow(id))
            return found;
    }
    return nullptr;
}

UINT ButtonFlag(int button)
{
    switch (button) {
    case wxMOUSE_BTN_LEFT: return MK_LBUTTON;
    case wxMOUSE_BTN_MIDDLE: return MK_MBUTTON;
    case wxMOUSE_BTN_RIGHT: return MK_RBUTTON;
    default: return 0;
    }
}

UINT KeyFlags(const wxMouseEvent& event)
{
    UINT flags = 0;
    if (event.LeftIsDown())
        flags |= MK_LBUTTON;
    if (event.MiddleIsDown())
        flags |= MK_MBUTTON;
    if (event.RightIsDown())
        flags |= MK_RBUTTON;
    if (event.ShiftDown())
        flags |= MK_SHIFT;
    if (event.ControlDown())
        flags |= MK_CONTROL;
    // Toolkits differ in whether the state of a button event is the one
    // before or after it; handlers expect the pressed button set and the
    // released one clear.
    if (event.ButtonDown())
        flags |= ButtonFlag(event.GetButton());
    else if (event.ButtonUp())
        flags &= ~ButtonFlag(event.GetButton());
    return flags;
}

}  // namespace

ORVMFC_UIWindow::ORVMFC_UIWindow(bool suppressPaintDraw) : m_SuppressPaintDraw(suppressPaintDraw) {}

ORVMFC_UIWindow::~ORVMFC_UIWindow()
{
    if (m_pCanvas) {
        m_pCanvas->ForgetHost();
        m_pCanvas->Destroy();
    }
}

HWND ORVMFC_UIWindow::GetSafeHwnd() const
{
    return m_pCanvas ? m_pCanvas->GetHwnd() : HWND{};
}

wxGLCanvas* ORVMFC_UIWindow::GetCanvas() const
{
    return m_pCanvas;
}

bool ORVMFC_UIWindow::ReplaceDialogControl(wxWindow* dialog, int controlId)
{
    wxCHECK_MSG(dialog, false, "ReplaceDialogControl needs the dialog");
    wxWindow* placeholder = FindPlaceholder(dialog, controlId);
    if (!placeholder)
        return false;

    bool created = false;
    // A second window for the same object would orphan the first one.
    if (!m_pCanvas) {
        wxWindow* parent = placeholder->GetParent();
        const wxRect rect = placeholder->GetRect();
        const long border = placeholder->GetWindowStyleFlag() & wxBORDER_MASK;
        placeholder->Destroy();
        m_pCanvas = ORVMFC_ViewCanvas::Create(this, parent, controlId, rect, border);
        created = m_pCanvas != nullptr;
        if (created)
            m_pCanvas->Raise();
    }
    if (!created) {
        ORV_MessageBox(GetWindowHandle(dialog), L"ORVMFC_UIWindow creation failed!",
                       L"ORVMFC_UIWindow::ReplaceDialogControl", MB_ICONERROR);
    }
    return created;
}

bool ORVMFC_UIWindow::AttachViewport(ORV_IWindowHandler* handler)
{
    if (handler == m_pHandler)
        return true;

    bool attached = true;
    const HWND window = GetSafeHwnd();
    if (IsWindow(window)) {
        if (m_pHandler) {
            m_pHandler->ShutDown();
            m_pHandler = nullptr;
        }
        // A null handler has nothing to initialise: it only detaches.
        if (handler)
            attached = handler->Initialize(window);
    }
    m_pHandler = attached ? handler : nullptr;
    if (m_pCanvas) {
        // The notice appears or goes at once rather than at the next
        // repaint (with the suppress flag a handler's repaint draws
        // nothing, so it would otherwise stay until the first frame).
        m_pCanvas->Refresh(false);
    }
    if (!attached) {
        ORV_MessageBox(window, L"Error attaching viewport to window!", L"ORVMFC_UIWindow::AttachViewport",
                       MB_ICONERROR);
    }
    return attached;
}

void ORVMFC_UIWindow::Paint(wxDC& dc)
{
    if (m_pHandler) {
        // With the flag set the window keeps its last frame.
        if (!m_SuppressPaintDraw)
            m_pHandler->DrawGraphics();
        return;
    }
    const wxRect client(wxPoint(0, 0), dc.GetSize());
    dc.SetBrush(*wxWHITE_BRUSH);
    dc.SetPen(*wxWHITE_PEN);
    dc.DrawRectangle(client);
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.DrawLabel(wxS("No Graphics Handler Attached"), client, wxALIGN_CENTRE);
}

void ORVMFC_UIWindow::MouseButton(const wxMouseEvent& event, bool down)
{
    if (!m_pHandler || !m_pCanvas)
        return;
    // Captured at the press, so the release reaches this window even when
    // it happens outside it.
    if (down) {
        if (!m_pCanvas->HasCapture())
            m_pCanvas->CaptureMouse();
    } else if (m_pCanvas->HasCapture()) {
        m_pCanvas->ReleaseMouse();
    }
    m_pHandler->HandleMouseButton(down, KeyFlags(event), event.GetX(), event.GetY());
}

void ORVMFC_UIWindow::MouseMove(const wxMouseEvent& event)
{
    if (m_pHandler)
        m_pHandler->HandleMouseMove(KeyFlags(event), event.GetX(), event.GetY());
}

bool CreateDialogInPlaceOfControl(wxWindow* parent, int placeholderId, wxPanel* dialog)
{
    wxCHECK_MSG(parent && dialog, false, "CreateDialogInPlaceOfControl needs the parent and the panel");
    wxWindow* placeholder = FindPlaceholder(parent, placeholderId);
    if (!placeholder)
        return false;
    wxWindow* host = placeholder->GetParent();
    const wxRect rect = placeholder->GetRect();
    placeholder->Destroy();

    // A panel that is a window already cannot be created again.
    if (dialog->GetHandle() || !dialog->Create(host, wxID_ANY, rect.GetPosition(), rect.GetSize())) {
        ORV_MessageBox(GetWindowHandle(parent), L"Creation of control Dialog Failed!!", L"", MB_OK);
        return false;
    }
    dialog->InitDialog();
    dialog->SetSize(rect);
    dialog->Raise();
    dialog->Show();
    dialog->Update();
    return true;
}
