#include "GLInspector.h"

#include "GLApi.h"

void GLInspector::ProjectionMatrix(float out[16])
{
    glGetFloatv(GL_PROJECTION_MATRIX, out);
}

void GLInspector::LightPosition(int slot, float out[4])
{
    glGetLightfv(GL_LIGHT0 + static_cast<GLenum>(slot), GL_POSITION, out);
}

bool GLInspector::LightEnabled(int slot)
{
    return glIsEnabled(GL_LIGHT0 + static_cast<GLenum>(slot)) == GL_TRUE;
}

bool GLInspector::IsTexture(unsigned int name)
{
    return glIsTexture(name) == GL_TRUE;
}

unsigned int GLInspector::Error()
{
    return glGetError();
}
