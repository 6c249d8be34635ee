#include "Graphics/CheckGLError.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cstdio>

int CheckGLError(const char* context)
{
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR)
        return 0;
    std::printf("OpenGL error #%d", static_cast<int>(error));
    if (context)
        std::printf(" %s", context);
    const GLubyte* const text = gluErrorString(error);
    std::printf(": '%s'\n", text ? reinterpret_cast<const char*>(text) : "");
    std::fflush(stdout);
    return static_cast<int>(error);
}
