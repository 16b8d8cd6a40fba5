// A slider that edits a float in a range and shows the current value in a
// small sunken box beside it (the echo). The slider itself works on integer
// positions 0..m_Resolution; this class maps them to and from the range and
// keeps the echo in step. A vertical slider has its maximum at the top.
//
// Created like any wxSlider (constructor or Create); InitSlider, once the
// window exists, sets the range and makes the echo by taking room from the
// slider. Ownership: the echo is a sibling in the same parent; this slider
// destroys it, unless the parent already has.
#pragma once

#include <wx/slider.h>
#include <wx/stattext.h>
#include <wx/weakref.h>

class ORVMFC_SliderCtrlWithEcho : public wxSlider
{
public:
    ORVMFC_SliderCtrlWithEcho();
    ORVMFC_SliderCtrlWithEcho(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                              long style = wxSL_HORIZONTAL);
    ~ORVMFC_SliderCtrlWithEcho() override;

    // Does nothing unless the window exists and min < max and
    // min <= value <= max. Makes the echo on first use.
    void InitSlider(float min, float max, float value);

    // False, and nothing changes, for a value outside the range. Does not
    // call OnValueChanged.
    bool SetValue(float value);
    // The value, not the position. wxSlider's GetValue (the raw position)
    // stays callable as wxSlider::GetValue or on a const slider.
    using wxSlider::GetValue;
    float GetValue();

    int ValueToPosition(float value);
    float PositionToValue(int position);
    void UpdateEcho();
    bool IsVertical();

    // Called after every scroll with the value the slider shows now.
    virtual void OnValueChanged(float value);

    // Hiding or showing the slider does the same to its echo.
    bool Show(bool show = true) override;

    // The echo box, while it exists.
    wxStaticText* GetEcho() const { return m_Echo.get(); }

protected:
    int m_Resolution = 100000;
    float m_MinValue = 0.0f;
    float m_ValueRange = 1.0f;
    wxWeakRef<wxStaticText> m_Echo;

private:
    void BindScrollEvents();
    void CreateEcho();
    void OnScroll(wxScrollEvent& event);
};
