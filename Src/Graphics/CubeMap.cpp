#include "Graphics/CubeMap.h"

#include "Engine/DataStore.h"
#include "Engine/Error.h"
#include "Engine/ResourceLoader.h"
#include "Engine/StringUtil.h"
#include "Engine/Xml.h"

namespace
{

const GLenum FaceTargets[CubeMap::FaceCount] = {
    GL_TEXTURE_CUBE_MAP_POSITIVE_X, GL_TEXTURE_CUBE_MAP_NEGATIVE_X, GL_TEXTURE_CUBE_MAP_POSITIVE_Z,
    GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, GL_TEXTURE_CUBE_MAP_POSITIVE_Y, GL_TEXTURE_CUBE_MAP_NEGATIVE_Y};

// -1 for a name that is no face.
int FaceIndex(const std::string& name)
{
    for (int i = 0; i < CubeMap::FaceCount; ++i)
    {
        if (name == CubeMap::FaceNames[i])
            return i;
    }
    return -1;
}

} // namespace

const char* const CubeMap::FaceNames[FaceCount] = {"posx", "negx", "posz", "negz", "posy", "negy"};

CubeMap* DataStore::GetCubeMap(const std::string& name, bool mustExist)
{
    return Get<CubeMap>(name, mustExist);
}

CubeMap::CubeMap(const std::string& path) : Texture(path) {}

void CubeMap::Load()
{
    if (IsReady())
        return;
    surfaces.clear();
    surfaces.resize(FaceCount);
    ReadDefinition("CubeMap", false);
    CheckFaces();
    width = surfaces[0]->w;
    height = surfaces[0]->h;
}

void CubeMap::Finish()
{
    UploadSurfaces(GL_TEXTURE_CUBE_MAP,
                   {{GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE},
                    {GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE},
                    {GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE},
                    {GL_TEXTURE_MIN_FILTER, GL_NEAREST},
                    {GL_TEXTURE_MAG_FILTER, GL_NEAREST}},
                   FaceTargets, 0);
}

bool CubeMap::ParseElement(const TiXmlElement* element, const std::string& lowerTag)
{
    if (lowerTag == "image")
        LoadStrip(XmlRequirePath(element, "file", GetDirectory(path)));
    else if (lowerTag == "axisimages")
        ReadAxisImages(element, GetDirectory(path));
    else if (lowerTag == "light")
        ReadLight(element);
    else
        return Resource::ParseElement(element, lowerTag);
    return true;
}

Color CubeMap::ReadColor(const TiXmlElement* element)
{
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    XmlRequireFloat(element, "r", red);
    XmlRequireFloat(element, "g", green);
    XmlRequireFloat(element, "b", blue);
    return Color(red, green, blue, 1.0f);
}

// The strip is cut as it is, not rescaled. Its per-surface alpha and colour
// key are switched off first, so that the faces are plain copies.
void CubeMap::LoadStrip(const std::string& file)
{
    const SurfacePtr strip = LoadSurface(file, false);
    const int size = strip->h;
    if (strip->w < FaceCount * size)
        throw Error("Cube map strip '", file, "' is narrower than six times its height");
    SDL_SetAlpha(strip.get(), 0, SDL_ALPHA_OPAQUE);
    SDL_SetColorKey(strip.get(), 0, 0);
    const SDL_PixelFormat& format = *strip->format;
    for (int i = 0; i < FaceCount; ++i)
    {
        SurfacePtr face(SDL_CreateRGBSurface(SDL_SWSURFACE, size, size, format.BitsPerPixel,
                                             format.Rmask, format.Gmask, format.Bmask,
                                             format.Amask));
        if (!face)
            throw Error("Can't convert image '", file, "', out of memory!");
        SDL_Rect square = {static_cast<Sint16>(i * size), 0, static_cast<Uint16>(size),
                           static_cast<Uint16>(size)};
        SDL_UpperBlit(strip.get(), &square, face.get(), nullptr);
        surfaces[i] = std::move(face);
    }
}

void CubeMap::ReadAxisImages(const TiXmlElement* element, const std::string& directory)
{
    for (const TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement())
    {
        ResourceLoader::StopPoint();
        const std::string file = XmlRequirePath(child, "file", directory);
        const int face = FaceIndex(XmlLowerTag(child));
        if (face >= 0)
            surfaces[face] = LoadSurface(file, true);
    }
}

void CubeMap::ReadLight(const TiXmlElement* element)
{
    light = std::make_unique<LightSettings>(0);
    for (const TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement())
    {
        const std::string tag = XmlLowerTag(child);
        if (tag == "direction")
        {
            float x = 0.0f;
            float y = 0.0f;
            float z = 0.0f;
            XmlRequireFloat(child, "x", x);
            XmlRequireFloat(child, "y", y);
            XmlRequireFloat(child, "z", z);
            light->SetPosition(x, y, z);
        }
        else if (tag == "ambient")
            light->SetAmbient(ReadColor(child));
        else if (tag == "diffuse")
            light->SetDiffuse(ReadColor(child));
        else if (tag == "specular")
            light->SetSpecular(ReadColor(child));
    }
}

void CubeMap::CheckFaces() const
{
    for (int i = 0; i < FaceCount; ++i)
    {
        const SDL_Surface* const face = surfaces[i].get();
        if (!face)
            throw Error("Cube map '", path, "' has no face '", FaceNames[i], "'");
        if (face->w != face->h)
            throw Error("Face '", FaceNames[i], "' of cube map '", path, "' is not square");
        if (face->w != surfaces[0]->w)
            throw Error("Face '", FaceNames[i], "' of cube map '", path,
                        "' is not the size of face 'posx'");
    }
}
