#include "Graphics/SkyBox.h"

#include "Engine/DataStore.h"
#include "Graphics/Camera.h"
#include "Graphics/CubeMap.h"
#include "Graphics/Light.h"

#include <GL/gl.h>

namespace
{

constexpr float DefaultSize = 2.0f;

// The corners of the cube of half size 1, face by face: +X, +Y, +Z, -X, -Y, -Z.
const float UnitCorners[SkyBox::FaceCount][SkyBox::CornerCount][3] = {
    {{1, -1, 1}, {1, 1, 1}, {1, 1, -1}, {1, -1, -1}},
    {{-1, 1, -1}, {1, 1, -1}, {1, 1, 1}, {-1, 1, 1}},
    {{1, -1, 1}, {-1, -1, 1}, {-1, 1, 1}, {1, 1, 1}},
    {{-1, -1, 1}, {-1, -1, -1}, {-1, 1, -1}, {-1, 1, 1}},
    {{-1, -1, 1}, {1, -1, 1}, {1, -1, -1}, {-1, -1, -1}},
    {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}},
};

// The directions with which the cube map is sampled at those corners: each
// face samples its own side of the cube map, turned to suit the images.
const float TextureDirections[SkyBox::FaceCount][SkyBox::CornerCount][3] = {
    {{2, 2, -2}, {2, 2, 2}, {2, -2, 2}, {2, -2, -2}},
    {{-2, 2, 2}, {2, 2, 2}, {2, 2, -2}, {-2, 2, -2}},
    {{2, 2, 2}, {-2, 2, 2}, {-2, -2, 2}, {2, -2, 2}},
    {{-2, 2, -2}, {-2, -2, -2}, {-2, -2, 2}, {-2, 2, 2}},
    {{2, -2, 2}, {-2, -2, 2}, {-2, -2, -2}, {2, -2, -2}},
    {{-2, -2, -2}, {2, -2, -2}, {2, 2, -2}, {-2, 2, -2}},
};

} // namespace

// The cube map is asked for first: with both missing, the error names it.
SkyBox::SkyBox(DataStore* store, const std::string& cubeMapName)
    : camera(nullptr), cubeMap(store->GetCubeMap(cubeMapName, true))
{
    camera = dynamic_cast<const Camera*>(store->GetPointer("Camera", true));
    SetSize(DefaultSize);
}

void SkyBox::SetSize(float size)
{
    for (int face = 0; face < FaceCount; ++face)
        for (int corner = 0; corner < CornerCount; ++corner)
            for (int i = 0; i < 3; ++i)
                corners[face][corner][i] = UnitCorners[face][corner][i] * size;
}

// The view's rotation alone keeps the cube centred on the viewer; without
// depth it stays behind whatever the scene draws next.
void SkyBox::Draw()
{
    if (!camera || !cubeMap->IsReady())
        return;
    glPushMatrix();
    camera->LoadRotation();
    glEnable(GL_TEXTURE_CUBE_MAP);
    glColor3f(1, 1, 1);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMap->textureId);
    glDepthMask(GL_FALSE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glBegin(GL_QUADS);
    for (int face = 0; face < FaceCount; ++face)
    {
        for (int corner = 0; corner < CornerCount; ++corner)
        {
            glTexCoord3fv(TextureDirections[face][corner]);
            glVertex3fv(corners[face][corner]);
        }
    }
    glEnd();
    glEnable(GL_LIGHTING);
    glDepthMask(GL_TRUE);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_CUBE_MAP);
    glPopMatrix();
}

void SkyBox::ApplyLight(Light* light) const
{
    if (cubeMap->IsReady() && cubeMap->light)
        light->CopyFrom(*cubeMap->light);
}
