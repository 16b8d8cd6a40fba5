#include "dialogunits.h"

wxRect DialogUnitsToPixels(const wxWindow* dialog, int x, int y, int width, int height)
{
    const wxPoint topLeft = dialog->ConvertDialogToPixels(wxPoint(x, y));
    const wxPoint bottomRight = dialog->ConvertDialogToPixels(wxPoint(x + width, y + height));
    return wxRect(topLeft, wxSize(bottomRight.x - topLeft.x, bottomRight.y - topLeft.y));
}

void SetClientSizeInDialogUnits(wxWindow* dialog, int width, int height)
{
    const wxRect rect = DialogUnitsToPixels(dialog, 0, 0, width, height);
    dialog->SetClientSize(rect.GetSize());
}

wxStaticText* AddStaticText(wxWindow* dialog, int id, const wxString& text, int x, int y, int width, int height,
                            long style)
{
    const wxRect rect = DialogUnitsToPixels(dialog, x, y, width, height);
    auto* control = new wxStaticText(dialog, id, text, rect.GetPosition(), rect.GetSize(), style | wxST_NO_AUTORESIZE);
    // Windows wraps a static's text at its right edge; GTK needs telling.
    if (!text.Contains('\n') && !text.empty())
        control->Wrap(rect.GetWidth());
    // Wrap and the label may have asked for another size: the template's
    // rectangle holds.
    control->SetSize(rect);
    return control;
}

wxButton* AddPushButton(wxWindow* dialog, int id, const wxString& text, int x, int y, int width, int height)
{
    const wxRect rect = DialogUnitsToPixels(dialog, x, y, width, height);
    return new wxButton(dialog, id, text, rect.GetPosition(), rect.GetSize());
}

wxCheckBox* AddCheckBox(wxWindow* dialog, int id, const wxString& text, int x, int y, int width, int height)
{
    const wxRect rect = DialogUnitsToPixels(dialog, x, y, width, height);
    return new wxCheckBox(dialog, id, text, rect.GetPosition(), rect.GetSize());
}
