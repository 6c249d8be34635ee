#include "Graphics/Texture.h"

#include "Engine/DataFile.h"
#include "Engine/DataStore.h"
#include "Engine/Error.h"
#include "Engine/MathUtil.h"
#include "Engine/ResourceType.h"
#include "Engine/StringUtil.h"
#include "Engine/Xml.h"
#include "Graphics/CheckGLError.h"
#include "Graphics/JpegHeader.h"

#include <SDL_image.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

static_assert(SDL_BYTEORDER == SDL_LIL_ENDIAN, "the channel masks below name bytes in memory");

namespace
{

// Red, green, blue and alpha bytes, in this order in memory.
SDL_PixelFormat RgbaFormat()
{
    SDL_PixelFormat format = {};
    format.BitsPerPixel = 32;
    format.BytesPerPixel = 4;
    format.Rmask = 0x000000FF;
    format.Gmask = 0x0000FF00;
    format.Bmask = 0x00FF0000;
    format.Amask = 0xFF000000;
    format.alpha = SDL_ALPHA_OPAQUE;
    return format;
}

// A colour key becomes transparency, as SDL_DisplayFormatAlpha does it, but
// without depending on the video mode.
SurfacePtr ConvertToRgba(SurfacePtr surface, const std::string& name)
{
    SDL_PixelFormat format = RgbaFormat();
    SurfacePtr converted(SDL_ConvertSurface(surface.get(), &format, SDL_SWSURFACE | SDL_SRCALPHA));
    if (!converted)
    {
        if (surface->format->palette)
            throw Error("Can't convert palette image '", name, "', out of memory!");
        throw Error("Can't convert image '", name, "', out of memory!");
    }
    return converted;
}

SurfacePtr RescaleToPowerOfTwo(SurfacePtr surface, const std::string& name)
{
    const int width = static_cast<int>(NextPowerOfTwo(surface->w));
    const int height = static_cast<int>(NextPowerOfTwo(surface->h));
    std::printf("Rescaling \"%s\" %dx%d -> %dx%d\n", name.c_str(), surface->w, surface->h, width,
                height);
    const SDL_PixelFormat& format = *surface->format;
    SurfacePtr scaled(SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, format.BitsPerPixel,
                                           format.Rmask, format.Gmask, format.Bmask, format.Amask));
    if (!scaled)
        throw Error("Can't convert image '", name, "', out of memory!");
    Texture::ScaleSurface(surface.get(), scaled.get());
    return scaled;
}

bool HasPowerOfTwoSize(const SDL_Surface& surface)
{
    return static_cast<int>(NextPowerOfTwo(surface.w)) == surface.w &&
           static_cast<int>(NextPowerOfTwo(surface.h)) == surface.h;
}

// The two source pixels that one destination pixel mixes along one axis: the
// start of its footprint and the start of the next pixel's.
struct Footprint
{
    int first;
    int second;
    float firstWeight;
    float secondWeight;
};

float Quotient(int numerator, int denominator)
{
    return static_cast<float>(static_cast<double>(numerator) / denominator);
}

Footprint GetFootprint(int i, int sourceSize, int destinationSize)
{
    const float start = Quotient(i * sourceSize, destinationSize);
    float next = Quotient((i + 1) * sourceSize, destinationSize);
    const float last = static_cast<float>(sourceSize - 1);
    if (next >= last)
        next = last;
    const float firstWeight = 1.0f - (start - std::trunc(start));
    return {static_cast<int>(start), static_cast<int>(next), firstWeight, 1.0f - firstWeight};
}

const Uint8* PixelAt(const SDL_Surface* surface, int row, int column)
{
    return static_cast<const Uint8*>(surface->pixels) + row * surface->pitch +
           column * surface->format->BytesPerPixel;
}

// Cyan, magenta, yellow and black bytes, in this order in memory, as
// SDL_image decodes a JPEG of four components.
bool HasInkBytes(const SDL_PixelFormat& format)
{
    return format.BytesPerPixel == 4 && format.Bmask == 0x000000FF && format.Gmask == 0x0000FF00 &&
           format.Rmask == 0x00FF0000 && format.Amask == 0xFF000000;
}

// Whether the JPEG stores its ink inverted, as Adobe's tools do, which their
// marker tells. Throws Error for a transform of theirs that holds no ink.
bool IsInkInverted(const JpegHeader& header, const std::string& name)
{
    if (!header.adobe)
        return false;
    if (header.adobeTransform != JpegHeader::InkTransform &&
        header.adobeTransform != JpegHeader::YcckTransform)
        throw Error("Can't convert CMYK image '", name, "': unknown Adobe colour transform ",
                    ToString(header.adobeTransform));
    return true;
}

// The light that the inks leave of one channel; inverted ink is the light
// already.
Uint8 InkToLight(int ink, int black, bool inverted)
{
    if (!inverted)
    {
        ink = 255 - ink;
        black = 255 - black;
    }
    return static_cast<Uint8>((ink * black + 127) / 255);
}

// An RGB surface of the CMYK pixels of a JPEG of four components.
SurfacePtr ConvertInkToRgb(SurfacePtr surface, const JpegHeader& header, const std::string& name)
{
    const bool inverted = IsInkInverted(header, name);
    if (!HasInkBytes(*surface->format))
        throw Error("Can't convert CMYK image '", name, "', its pixels are not CMYK!");
    SurfacePtr rgb(SDL_CreateRGBSurface(SDL_SWSURFACE, surface->w, surface->h, 24, 0x0000FF,
                                        0x00FF00, 0xFF0000, 0));
    if (!rgb)
        throw Error("Can't convert image '", name, "', out of memory!");
    for (int y = 0; y < surface->h; ++y)
    {
        const Uint8* ink = PixelAt(surface.get(), y, 0);
        Uint8* light = static_cast<Uint8*>(rgb->pixels) + y * rgb->pitch;
        for (int x = 0; x < surface->w; ++x, ink += 4)
        {
            for (int k = 0; k < 3; ++k)
                *light++ = InkToLight(ink[k], ink[3], inverted);
        }
    }
    return rgb;
}

struct TextureFormat
{
    const char* name;
    int format;
};

const TextureFormat TextureFormats[] = {
    {"ALPHA", GL_ALPHA}, {"LUMINANCE", GL_LUMINANCE}, {"INTENSITY", GL_INTENSITY}};

} // namespace

Texture* DataStore::GetTexture(const std::string& name, bool mustExist)
{
    return Get<Texture>(name, mustExist);
}

Texture* DataStore::AddTexture(const std::string& path, const char* alias)
{
    return dynamic_cast<Texture*>(AddAndGet(path, alias, ResourceType::Texture));
}

Texture::Texture(const std::string& path) : Resource(path) {}

Texture::~Texture()
{
    if (textureId != 0)
        glDeleteTextures(1, &textureId);
}

void Texture::Load()
{
    if (IsReady())
        return;
    ReadDefinition("Texture", true);
    surfaces.clear();
    surfaces.push_back(LoadSurface(path, true, &rescaled));
    if (GetExtension(path) == "bmp")
        scaleV = -1.0f;
    width = surfaces[0]->w;
    height = surfaces[0]->h;
}

void Texture::Finish()
{
    const GLenum target = GL_TEXTURE_2D;
    UploadSurfaces(target,
                   {{GL_TEXTURE_MAG_FILTER, GL_LINEAR},
                    {GL_TEXTURE_MIN_FILTER, GL_LINEAR},
                    {GL_TEXTURE_WRAP_S, GL_REPEAT},
                    {GL_TEXTURE_WRAP_T, GL_REPEAT}},
                   &target, format);
}

bool Texture::ParseElement(const TiXmlElement* element, const std::string& lowerTag)
{
    if (lowerTag != "format")
        return Resource::ParseElement(element, lowerTag);
    const std::string value = XmlRequireAttribute(element, "value");
    for (const TextureFormat& known : TextureFormats)
    {
        if (value == known.name)
        {
            format = known.format;
            return true;
        }
    }
    XmlUnknownValue(lowerTag, "value", value);
    return true;
}

SurfacePtr Texture::LoadSurface(const std::string& name, bool powerOfTwo, bool* rescaled)
{
    if (name.empty())
        throw Error("Texture filename was not specified!");
    SDL_RWops* const stream = OpenRW(name);
    const JpegHeader header = JpegHeader::Read(stream);
    SurfacePtr surface(IMG_Load_RW(stream, 1));
    if (!surface)
        throw Error("Unknown texture format: ", name);
    if (header.IsCmyk())
        surface = ConvertInkToRgb(std::move(surface), header, name);
    if (GetPixelFormat(surface.get()) == 0)
        surface = ConvertToRgba(std::move(surface), name);
    const bool rescale = powerOfTwo && !HasPowerOfTwoSize(*surface);
    if (rescaled)
        *rescaled = rescale;
    if (rescale)
        surface = RescaleToPowerOfTwo(std::move(surface), name);
    return surface;
}

// Every byte of a pixel (alpha too) mixes the four samples of its footprint,
// with the sum rounded to a float after each addition.
void Texture::ScaleSurface(SDL_Surface* source, SDL_Surface* destination)
{
    SDL_LockSurface(source);
    SDL_LockSurface(destination);
    const int bytes = destination->format->BytesPerPixel;
    std::vector<Footprint> columns;
    for (int x = 0; x < destination->w; ++x)
        columns.push_back(GetFootprint(x, source->w, destination->w));
    for (int y = 0; y < destination->h; ++y)
    {
        const Footprint row = GetFootprint(y, source->h, destination->h);
        Uint8* out = static_cast<Uint8*>(destination->pixels) + y * destination->pitch;
        for (const Footprint& column : columns)
        {
            const Uint8* const samples[] = {PixelAt(source, row.first, column.first),
                                            PixelAt(source, row.first, column.second),
                                            PixelAt(source, row.second, column.first),
                                            PixelAt(source, row.second, column.second)};
            const float columnWeights[] = {column.firstWeight, column.secondWeight,
                                           column.firstWeight, column.secondWeight};
            const float rowWeights[] = {row.firstWeight, row.firstWeight, row.secondWeight,
                                        row.secondWeight};
            for (int k = 0; k < bytes; ++k)
            {
                float sum = 0.0f;
                for (int i = 0; i < 4; ++i)
                    sum += samples[i][k] * columnWeights[i] * rowWeights[i];
                *out++ = static_cast<Uint8>(std::min(static_cast<int>(sum), 255));
            }
        }
    }
    SDL_UnlockSurface(destination);
    SDL_UnlockSurface(source);
}

GLenum Texture::GetPixelFormat(const SDL_Surface* surface)
{
    const SDL_PixelFormat& format = *surface->format;
    const bool rgb =
        format.Rmask == 0x0000FF && format.Gmask == 0x00FF00 && format.Bmask == 0xFF0000;
    const bool bgr =
        format.Rmask == 0xFF0000 && format.Gmask == 0x00FF00 && format.Bmask == 0x0000FF;
    if (!rgb && !bgr)
        return 0;
    if (surface->flags & SDL_SRCALPHA)
    {
        if (format.BytesPerPixel == 4 && format.Amask == 0xFF000000)
            return rgb ? GL_RGBA : GL_BGRA;
        return 0;
    }
    return format.BytesPerPixel == 3 ? (rgb ? GL_RGB : GL_BGR) : 0;
}

// A surface that no pixel format describes is refused by OpenGL, which reads
// nothing, and the error is reported.
int Texture::UploadSurface(const SDL_Surface* surface, GLenum target, int internalFormat)
{
    glTexImage2D(target, 0, internalFormat ? internalFormat : surface->format->BytesPerPixel,
                 surface->w, surface->h, 0, GetPixelFormat(surface), GL_UNSIGNED_BYTE,
                 surface->pixels);
    return CheckGLError("when creating texture");
}

bool Texture::PushTextureMatrix() const
{
    if (!HasTextureMatrix())
        return false;
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glScalef(scaleU, scaleV, 1.0f);
    glRotatef(rotation, 0.0f, 0.0f, 1.0f);
    return true;
}

void Texture::PopTextureMatrix() const
{
    if (!HasTextureMatrix())
        return;
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

bool Texture::HasTextureMatrix() const
{
    return rotation != 0.0f || scaleU != 1.0f || scaleV != 1.0f;
}

void Texture::UploadSurfaces(GLenum target, std::initializer_list<Parameter> parameters,
                             const GLenum* surfaceTargets, int internalFormat)
{
    if (IsReady() || surfaces.empty())
        return;
    glGenTextures(1, &textureId);
    glBindTexture(target, textureId);
    for (const Parameter& parameter : parameters)
        glTexParameteri(target, parameter.name, parameter.value);
    for (std::size_t i = 0; i < surfaces.size(); ++i)
        UploadSurface(surfaces[i].get(), surfaceTargets[i], internalFormat);
    surfaces.clear();
}
