#pragma once

#include "Engine/Resource.h"
#include "Graphics/Surface.h"

#include <GL/gl.h>
#include <initializer_list>
#include <string>
#include <vector>

// A 2D OpenGL texture made from one image file. Load decodes the image on the
// loader thread (rescaled so that each side is a power of two); Finish
// uploads it on the main thread. Users bind textureId once IsReady holds.
class Texture : public Resource
{
public:
    explicit Texture(const std::string& path);
    ~Texture() override;

    void Load() override;
    void Finish() override;
    bool ParseElement(const TiXmlElement* element, const std::string& lowerTag) override;

    // The internal format of the upload; 0 takes the bytes per pixel.
    void SetFormat(int internalFormat) { format = internalFormat; }

    // Decodes an image file through the data files. Palette images and pixels
    // that no OpenGL format describes are converted to 32-bit RGBA first. With
    // powerOfTwo, a side that is no power of two is resampled up to the next
    // one, with a "Rescaling" line; rescaled, when given, tells whether that
    // happened.
    static SurfacePtr LoadSurface(const std::string& name, bool powerOfTwo,
                                  bool* rescaled = nullptr);
    // Resamples the source into the destination's size; both have the same
    // pixel format.
    static void ScaleSurface(SDL_Surface* source, SDL_Surface* destination);
    // The pixel format that describes the surface's bytes as they lie in
    // memory (GL_RGB, GL_BGR, GL_RGBA, GL_BGRA), or 0 when none does.
    static GLenum GetPixelFormat(const SDL_Surface* surface);
    // Level 0 of the bound texture of the target; an internal format of 0
    // takes the bytes per pixel. Returns CheckGLError's answer.
    static int UploadSurface(const SDL_Surface* surface, GLenum target, int internalFormat);

    // Apply the texture matrix (scale, then rotation) around drawing with
    // this texture. Push returns false and changes nothing when the matrix is
    // the identity; otherwise the texture matrix mode stays current until
    // Pop, which returns to the modelview mode.
    bool PushTextureMatrix() const;
    void PopTextureMatrix() const;

    GLuint textureId = 0;
    // The uploaded size, after any rescale; 0 until Load.
    int width = 0;
    int height = 0;
    float scaleU = 1.0f;
    float scaleV = 1.0f;
    // Degrees about the z axis.
    float rotation = 0.0f;
    int format = 0;
    // Whether Load had to rescale the image.
    bool rescaled = false;

protected:
    bool HasTextureMatrix() const;
    struct Parameter
    {
        GLenum name;
        GLint value;
    };

    // Unless the texture is ready or has nothing decoded: generates and binds
    // textureId on the target with the parameters, uploads each surface to
    // its own target (one per surface) in the format (0: the surface's), and
    // frees the surfaces.
    void UploadSurfaces(GLenum target, std::initializer_list<Parameter> parameters,
                        const GLenum* surfaceTargets, int internalFormat);

    // Decoded by Load and freed by Finish (or with the texture).
    std::vector<SurfacePtr> surfaces;
};
