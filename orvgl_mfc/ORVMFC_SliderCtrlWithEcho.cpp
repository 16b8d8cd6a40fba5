#include "ORVMFC_SliderCtrlWithEcho.h"

#include <climits>
#include <cmath>

namespace {

// Echo geometry in pixels.
constexpr int kHorizontalEchoWidth = 50;
constexpr int kVerticalEchoWidth = 50;
constexpr int kVerticalEchoHeight = 20;

}  // namespace

ORVMFC_SliderCtrlWithEcho::ORVMFC_SliderCtrlWithEcho()
{
    BindScrollEvents();
}

ORVMFC_SliderCtrlWithEcho::ORVMFC_SliderCtrlWithEcho(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                                                     const wxSize& size, long style)
    : wxSlider(parent, id, 0, 0, 100000, pos, size, style)
{
    BindScrollEvents();
}

ORVMFC_SliderCtrlWithEcho::~ORVMFC_SliderCtrlWithEcho()
{
    if (wxStaticText* echo = m_Echo.get())
        echo->Destroy();
}

void ORVMFC_SliderCtrlWithEcho::BindScrollEvents()
{
    // Every kind of scroll, as a trackbar's scroll message covers them all.
    for (const wxEventTypeTag<wxScrollEvent>& type :
         {wxEVT_SCROLL_TOP, wxEVT_SCROLL_BOTTOM, wxEVT_SCROLL_LINEUP, wxEVT_SCROLL_LINEDOWN, wxEVT_SCROLL_PAGEUP,
          wxEVT_SCROLL_PAGEDOWN, wxEVT_SCROLL_THUMBTRACK, wxEVT_SCROLL_THUMBRELEASE, wxEVT_SCROLL_CHANGED})
        Bind(type, &ORVMFC_SliderCtrlWithEcho::OnScroll, this);
}

bool ORVMFC_SliderCtrlWithEcho::IsVertical()
{
    return GetHandle() != nullptr && (GetWindowStyleFlag() & wxSL_VERTICAL) != 0;
}

int ORVMFC_SliderCtrlWithEcho::ValueToPosition(float value)
{
    double position = std::trunc((static_cast<double>(value) - m_MinValue) * m_Resolution / m_ValueRange + 0.5);
    if (IsVertical())
        position = m_Resolution - position;
    // A value far outside the range (or not a number) must not overflow the
    // conversion; no position could show it anyway.
    if (std::isnan(position))
        return 0;
    if (position <= static_cast<double>(INT_MIN))
        return INT_MIN;
    if (position >= static_cast<double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(position);
}

float ORVMFC_SliderCtrlWithEcho::PositionToValue(int position)
{
    return static_cast<float>(static_cast<double>(position) / m_Resolution * m_ValueRange + m_MinValue);
}

float ORVMFC_SliderCtrlWithEcho::GetValue()
{
    int position = wxSlider::GetValue();
    if (IsVertical())
        position = m_Resolution - position;
    return PositionToValue(position);
}

bool ORVMFC_SliderCtrlWithEcho::SetValue(float value)
{
    if (value < m_MinValue || value > m_MinValue + m_ValueRange)
        return false;
    wxSlider::SetValue(ValueToPosition(value));
    UpdateEcho();
    return true;
}

void ORVMFC_SliderCtrlWithEcho::UpdateEcho()
{
    // Independent of the locale: always a point before the decimals.
    if (wxStaticText* echo = m_Echo.get())
        echo->SetLabel(wxS(" ") + wxString::FromCDouble(GetValue(), 2));
}

void ORVMFC_SliderCtrlWithEcho::CreateEcho()
{
    wxWindow* parent = GetParent();
    // Both rectangles in the parent's client coordinates, right and bottom
    // exclusive.
    const wxRect slider = GetRect();
    int left = slider.x;
    int top = slider.y;
    int right = slider.x + slider.width;
    int bottom = slider.y + slider.height;
    wxRect echo;
    if (IsVertical()) {
        const int echoLeft = left + (right - left) / 2 - kVerticalEchoWidth / 2;
        echo = wxRect(echoLeft, top, kVerticalEchoWidth, kVerticalEchoHeight);
        top += kVerticalEchoHeight;
    } else {
        echo = wxRect(right - kHorizontalEchoWidth, top, kHorizontalEchoWidth, bottom - top);
        right -= kHorizontalEchoWidth;
    }

    // No fixed id: wx allows none outside 0..32766 for its own windows. The
    // label must not resize the box.
    m_Echo = new wxStaticText(parent, wxID_ANY, wxS("XXXX"), echo.GetPosition(), echo.GetSize(),
                              wxBORDER_SUNKEN | wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
    SetSize(left, top, right - left, bottom - top);
    m_Echo->SetFont(parent->GetFont());
    m_Echo->Show(IsShown());
}

void ORVMFC_SliderCtrlWithEcho::InitSlider(float min, float max, float value)
{
    if (!GetHandle() || !(min < max) || !(min <= value && value <= max))
        return;
    if (!m_Echo && GetParent())
        CreateEcho();
    m_MinValue = min;
    m_ValueRange = max - min;
    SetRange(0, m_Resolution);
    SetValue(value);
    UpdateEcho();
}

void ORVMFC_SliderCtrlWithEcho::OnValueChanged(float) {}

void ORVMFC_SliderCtrlWithEcho::OnScroll(wxScrollEvent& event)
{
    // The parent may want the scroll too.
    event.Skip();
    UpdateEcho();
    OnValueChanged(GetValue());
}

bool ORVMFC_SliderCtrlWithEcho::Show(bool show)
{
    const bool changed = wxSlider::Show(show);
    if (wxStaticText* echo = m_Echo.get())
        echo->Show(show);
    return changed;
}
