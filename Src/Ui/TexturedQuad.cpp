#include "Ui/TexturedQuad.h"

#include <GL/gl.h>

namespace Ui
{

void DrawTexturedQuad(const Edges& screen, const Edges& texture)
{
    glBegin(GL_QUADS);
    glTexCoord2f(texture.left, texture.top);
    glVertex2f(screen.left, screen.top);
    glTexCoord2f(texture.left, texture.bottom);
    glVertex2f(screen.left, screen.bottom);
    glTexCoord2f(texture.right, texture.bottom);
    glVertex2f(screen.right, screen.bottom);
    glTexCoord2f(texture.right, texture.top);
    glVertex2f(screen.right, screen.top);
    glEnd();
}

} // namespace Ui
