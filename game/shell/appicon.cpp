#include "appicon.h"

#include <wx/filefn.h>
#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/log.h>

wxIcon LoadApplicationIcon()
{
    // The build tree keeps the icons in <build>/icons beside the run folder;
    // an installation in share/icons/hicolor beside share/soare.
    const wxString candidates[] = {
        "../icons/soare-48.png",
        wxString("../icons/hicolor/48x48/apps/") + kApplicationId + ".png",
    };
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    for (const wxString& file : candidates) {
        if (!wxFileExists(file))
            continue;
        wxLogNull quiet;  // a broken file is no reason for a message box
        wxImage image(file, wxBITMAP_TYPE_PNG);
        if (!image.IsOk())
            continue;
        wxIcon icon;
        icon.CopyFromBitmap(wxBitmap(image));
        return icon;
    }
    return wxIcon();
}
