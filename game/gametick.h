// One tick of the game, written once for every driver: every step of the
// rules, in the main window and in the headless run, is RunGameStep; the
// views that are on draw with DrawGameViews; and every view that shows the
// game draws its frame with DrawGameView.
#pragma once

class CKeyboardInput;
class CModel;
class CModelOwner;
class ORV_WindowHandler;
class ORVD3D_WindowHandler;
class IDirect3DDevice9;

// The game's three views, as the tick sees them.
struct CGameViews
{
    ORV_WindowHandler& main;    // chase view behind the craft
    ORV_WindowHandler& ground;  // small view from behind and above, looking down below the craft
    ORV_WindowHandler& map;     // high above the island; only the mouse moves its camera
};

// One step of the rules, without drawing: polls the keyboard; P toggles the
// pause when released (bPKeyWasDown remembers it was held at the previous
// step); while paused nothing else happens. Otherwise the held arrows ask the
// model to lean, the model advances one step, and the chase and ground
// cameras follow the craft. True when the model stepped (it was not paused).
bool RunGameStep(CKeyboardInput& keyboard, CModel& model, const CGameViews& views, bool& bPKeyWasDown);

// Each view that is switched on draws once: the chase view, then the ground
// and the map views unless the options switched them off.
void DrawGameViews(CModel& model, const CGameViews& views);

// One step, then the drawing when it stepped: a tick of a machine that keeps
// up. A paused tick draws nothing.
void RunGameTick(CKeyboardInput& keyboard, CModel& model, const CGameViews& views, bool& bPKeyWasDown);

// The frame of a game view: begin drawing, set the camera's view and
// projection, reset the world transform, clear to the sky colour, draw the
// model's scene (the model made on first request), end and present. A view
// without a device draws nothing.
void DrawGameView(ORVD3D_WindowHandler& view, IDirect3DDevice9* device, CModelOwner& models);

// The sky behind every view: alpha 0x7F, a grey blue.
constexpr unsigned kSkyColor = 0x7F99B2B2u;
