#include "Ui/RootView.h"

#include "Ui/RootModel.h"

#include <GL/gl.h>

namespace Ui
{

RootView::RootView(RootModel* model) : FrameView(model)
{
    width = static_cast<float>(model->width);
    height = static_cast<float>(model->height);
}

void RootView::Draw()
{
    scale = GetFrameModel().scale;
    alpha = GetFrameModel().alpha;
}

void RootView::Begin2D()
{
    glPushAttrib(GL_ENABLE_BIT);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &modelViewDepth);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glAlphaFunc(GL_GEQUAL, 0.0625f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
    glDisable(GL_LIGHTING);
    glNormal3f(0.0f, 0.0f, -1.0f);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void RootView::End2D()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    for (; depth > modelViewDepth; --depth)
        glPopMatrix();
    glPopAttrib();
}

} // namespace Ui
