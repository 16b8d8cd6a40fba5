#include "GLInspector.h"

#include <string>

#include "GLApi.h"

void GLInspector::ProjectionMatrix(float out[16])
{
    glGetFloatv(GL_PROJECTION_MATRIX, out);
}

unsigned int GLInspector::CurrentProgram()
{
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return static_cast<unsigned int>(program);
}

void GLInspector::LightPosition(int slot, float out[4])
{
    const GLuint program = CurrentProgram();
    const std::string name = "u_LightPosition[" + std::to_string(slot) + "]";
    glGetUniformfv(program, glGetUniformLocation(program, name.c_str()), out);
}

bool GLInspector::LightEnabled(int slot)
{
    // The program has exactly as many light slots as there are lights on.
    const std::string name = "u_LightPosition[" + std::to_string(slot) + "]";
    return glGetUniformLocation(CurrentProgram(), name.c_str()) >= 0;
}

bool GLInspector::IsTexture(unsigned int name)
{
    return glIsTexture(name) == GL_TRUE;
}

unsigned int GLInspector::Error()
{
    return glGetError();
}
