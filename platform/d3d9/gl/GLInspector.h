// Read-only questions about the current GL context, for tests of the GL
// device that check what it handed to GL (they make no GL calls of their
// own). Every call needs the context current.
#pragma once

class GLInspector
{
public:
    static void ProjectionMatrix(float out[16]);
    // The current lighting program's light slot: its position (eye
    // coordinates) or, for a directional light, the way to it; whether the
    // program has the slot (it has one per light on).
    static void LightPosition(int slot, float out[4]);
    static bool LightEnabled(int slot);
    // The current program's name (0: none).
    static unsigned int CurrentProgram();
    static bool IsTexture(unsigned int name);
    // The GL error flag, cleared by reading (0: no error).
    static unsigned int Error();
};
