// Dialog templates in code: controls placed at rectangles given in dialog
// units of their dialog (a quarter of the dialog font's average character
// width across, an eighth of its height down), as the game's dialog
// templates give them. Every control is a child of the dialog, which owns it.
#pragma once

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/stattext.h>

// The pixel rectangle, in the dialog's client coordinates, of a rectangle in
// its dialog units. Corners are converted, not the size, so adjacent
// controls stay adjacent whatever the rounding.
wxRect DialogUnitsToPixels(const wxWindow* dialog, int x, int y, int width, int height);

// Sizes the dialog's client area to width x height dialog units.
void SetClientSizeInDialogUnits(wxWindow* dialog, int width, int height);

// A static text that keeps its rectangle. Text containing '\n' shows one
// line per part; a single line longer than the rectangle is wrapped to it.
wxStaticText* AddStaticText(wxWindow* dialog, int id, const wxString& text, int x, int y, int width, int height,
                            long style = 0);
wxButton* AddPushButton(wxWindow* dialog, int id, const wxString& text, int x, int y, int width, int height);
wxCheckBox* AddCheckBox(wxWindow* dialog, int id, const wxString& text, int x, int y, int width, int height);
