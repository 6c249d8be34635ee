#include "Engine/ResourceType.h"
#include "GlResourceTest.h"
#include "Graphics/AnimatedTexture.h"
#include "Graphics/CubeMap.h"
#include "Graphics/Texture.h"
#include "Support/Images.h"

#include <gtest/gtest.h>
#include <string>

namespace
{

const Uint32 FaceColors[CubeMap::FaceCount] = {0xFF0000, 0x00FF00, 0x0000FF,
                                               0xFFFF00, 0x00FFFF, 0xFF00FF};

class TextureGlTest : public GlResourceTest
{
protected:
    static GLint TextureParameter(GLenum target, GLenum name)
    {
        GLint value = 0;
        glGetTexParameteriv(target, name, &value);
        return value;
    }

    static GLint LevelParameter(GLenum target, GLenum name)
    {
        GLint value = 0;
        glGetTexLevelParameteriv(target, 0, name, &value);
        return value;
    }
};

} // namespace

TEST_F(TextureGlTest, ATextureUploadsWithLinearFiltersAndRepeats)
{
    WriteSolidBmp("Plain.bmp", 5, 4, 0x204060);
    WriteSolidBmp("Glyphs.bmp", 4, 4, 0xFFFFFF);
    WriteTextFile("Glyphs.xml", "<Texture file='Glyphs.bmp'><format value='INTENSITY'/></Texture>");
    const Texture* plain = Load<Texture>("Plain.bmp", ResourceType::Texture);
    const Texture* glyphs = Load<Texture>("Glyphs.xml", ResourceType::Texture);
    Convert("-size 3x1 xc:red PNG8:Palette.png");
    const Texture* palette = Load<Texture>("Palette.png", ResourceType::Texture);
    ASSERT_NE(0u, plain->textureId);

    glBindTexture(GL_TEXTURE_2D, plain->textureId);
    EXPECT_EQ(GL_LINEAR, TextureParameter(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER));
    EXPECT_EQ(GL_LINEAR, TextureParameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(GL_REPEAT, TextureParameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S));
    EXPECT_EQ(GL_REPEAT, TextureParameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T));
    EXPECT_EQ(8, LevelParameter(GL_TEXTURE_2D, GL_TEXTURE_WIDTH));
    EXPECT_EQ(4, LevelParameter(GL_TEXTURE_2D, GL_TEXTURE_HEIGHT));
    // The bytes per pixel, as the legacy component count.
    EXPECT_EQ(3, LevelParameter(GL_TEXTURE_2D, GL_TEXTURE_INTERNAL_FORMAT));

    glBindTexture(GL_TEXTURE_2D, glyphs->textureId);
    EXPECT_EQ(GL_INTENSITY, LevelParameter(GL_TEXTURE_2D, GL_TEXTURE_INTERNAL_FORMAT));
    // Converted before it was rescaled.
    glBindTexture(GL_TEXTURE_2D, palette->textureId);
    EXPECT_EQ(4, LevelParameter(GL_TEXTURE_2D, GL_TEXTURE_INTERNAL_FORMAT));
    EXPECT_EQ(4, LevelParameter(GL_TEXTURE_2D, GL_TEXTURE_WIDTH));
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(TextureGlTest, ATexturedQuadShowsTheImageUpright)
{
    const auto color = [](int x, int y) { return static_cast<Uint32>(x * 0x400000 + y * 0x40); };
    WriteBmp("Tiles.bmp", 4, 4, color);
    const Texture* tiles = Load<Texture>("Tiles.bmp", ResourceType::Texture);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, tiles->textureId);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(10, 20);
    glTexCoord2f(0, 1);
    glVertex2f(10, 24);
    glTexCoord2f(1, 1);
    glVertex2f(14, 24);
    glTexCoord2f(1, 0);
    glVertex2f(14, 20);
    glEnd();
    for (int y = 0; y < 4; ++y)
    {
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(color(x, y), ReadBackPixel(10 + x, 20 + y)) << x << "," << y;
    }
    EXPECT_EQ(0u, ReadBackPixel(9, 20));
    EXPECT_EQ(0u, ReadBackPixel(10, 24));
}

TEST_F(TextureGlTest, ACubeMapUploadsEachFaceToItsSide)
{
    WriteBmp("Strip.bmp", 12, 2, [](int x, int) { return FaceColors[x / 2]; });
    WriteTextFile("Sky.xml", "<CubeMap><image file='Strip.bmp'/></CubeMap>");
    const CubeMap* sky = Load<CubeMap>("Sky.xml", ResourceType::CubeMap);
    glBindTexture(GL_TEXTURE_CUBE_MAP, sky->textureId);
    for (const GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R})
        EXPECT_EQ(GL_CLAMP_TO_EDGE, TextureParameter(GL_TEXTURE_CUBE_MAP, wrap));
    EXPECT_EQ(GL_NEAREST, TextureParameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER));
    EXPECT_EQ(GL_NEAREST, TextureParameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER));
    const GLenum sides[] = {GL_TEXTURE_CUBE_MAP_POSITIVE_X, GL_TEXTURE_CUBE_MAP_NEGATIVE_X,
                            GL_TEXTURE_CUBE_MAP_POSITIVE_Z, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z,
                            GL_TEXTURE_CUBE_MAP_POSITIVE_Y, GL_TEXTURE_CUBE_MAP_NEGATIVE_Y};
    for (int i = 0; i < CubeMap::FaceCount; ++i)
    {
        GLubyte texels[2 * 2 * 3] = {};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(sides[i], 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
        const Uint32 texel = static_cast<Uint32>(texels[9]) << 16 | texels[10] << 8 | texels[11];
        EXPECT_EQ(FaceColors[i], texel) << CubeMap::FaceNames[i];
        EXPECT_EQ(2, LevelParameter(sides[i], GL_TEXTURE_WIDTH));
    }
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(TextureGlTest, TheTextureMatrixScalesThenRotates)
{
    Texture texture("unused.png");
    texture.scaleU = 2;
    texture.scaleV = -1;
    texture.rotation = 90;
    ASSERT_TRUE(texture.PushTextureMatrix());
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(GL_TEXTURE, mode);
    GLfloat matrix[16];
    glGetFloatv(GL_TEXTURE_MATRIX, matrix);
    // Scale x rotation: the rotated x axis (0, 1) is scaled to (0, -1).
    EXPECT_NEAR(0, matrix[0], 1e-6);
    EXPECT_NEAR(-1, matrix[1], 1e-6);
    EXPECT_NEAR(-2, matrix[4], 1e-6);
    EXPECT_NEAR(0, matrix[5], 1e-6);
    texture.PopTextureMatrix();
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(GL_MODELVIEW, mode);
    glGetFloatv(GL_TEXTURE_MATRIX, matrix);
    EXPECT_EQ(1, matrix[0]);
    EXPECT_EQ(0, matrix[4]);
    EXPECT_EQ(GLenum(GL_NO_ERROR), glGetError());
}

TEST_F(TextureGlTest, DeletingATextureDeletesItsName)
{
    WriteSolidBmp("Plain.bmp", 4, 4, 0);
    GLuint name = 0;
    {
        DataStore images(nullptr);
        images.AddResource("Plain.bmp", nullptr, ResourceType::Texture);
        Resource* plain = images.GetResource("Plain.bmp", true);
        ASSERT_TRUE(ProcessUntil(images, [plain] { return plain->IsReady(); }));
        name = static_cast<Texture*>(plain)->textureId;
        EXPECT_TRUE(glIsTexture(name));
    }
    EXPECT_FALSE(glIsTexture(name));
}
