// One tick of the game, written once for every driver: the main window's
// timer and the headless run both call RunGameTick, and every view that
// shows the game draws its frame with DrawGameView.
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

// Polls the keyboard; P toggles the pause when released (bPKeyWasDown
// remembers it was held at the previous tick); while paused nothing else
// happens. Otherwise the held arrows ask the model to lean, the model
// advances one step, the chase and ground cameras follow the craft, and
// each view that is switched on draws.
void RunGameTick(CKeyboardInput& keyboard, CModel& model, const CGameViews& views, bool& bPKeyWasDown);

// The frame of a game view: begin drawing, set the camera's view and
// projection, reset the world transform, clear to the sky colour, draw the
// model's scene (the model made on first request), end and present. A view
// without a device draws nothing.
void DrawGameView(ORVD3D_WindowHandler& view, IDirect3DDevice9* device, CModelOwner& models);

// The sky behind every view: alpha 0x7F, a grey blue.
constexpr unsigned kSkyColor = 0x7F99B2B2u;
