#include "Graphics/Model3D/Material.h"

#include "Engine/DataFile.h"
#include "Engine/DataStore.h"
#include "Engine/StringUtil.h"
#include "Engine/Vector.h"
#include "Engine/obinstream.h"
#include "Graphics/Model3D/ModelFile.h"
#include "Graphics/Texture.h"

#include <GL/gl.h>
#include <algorithm>

namespace
{

// OpenGL refuses a specular exponent outside this range.
const float MaxShininess = 128.0f;

void SetColor(float* color, float r, float g, float b, float a)
{
    color[0] = r;
    color[1] = g;
    color[2] = b;
    color[3] = a;
}

void SetColor(float* color, const Math::Vector& rgb)
{
    SetColor(color, rgb[0], rgb[1], rgb[2], 1.0f);
}

void WriteColor(obinstream& out, const float* color)
{
    out << color[0] << color[1] << color[2] << color[3];
}

// The path as the model file stores it.
std::string RelativePath(const std::string& path, const std::string& modelDirectory)
{
    if (!modelDirectory.empty() && path.compare(0, modelDirectory.size(), modelDirectory) == 0)
        return path.substr(modelDirectory.size());
    return path;
}

} // namespace

const Material Material::Default("Default");

Material::Material(const std::string& name) : name(name)
{
    SetDefaultAmbient();
    SetDefaultDiffuse();
    SetDefaultSpecular();
    SetDefaultEmission();
}

Material& Material::SetAmbient(float r, float g, float b, float a)
{
    SetColor(ambient, r, g, b, a);
    return *this;
}

Material& Material::SetAmbient(const Math::Vector& color)
{
    SetColor(ambient, color);
    return *this;
}

Material& Material::SetDiffuse(float r, float g, float b, float a)
{
    SetColor(diffuse, r, g, b, a);
    return *this;
}

Material& Material::SetDiffuse(const Math::Vector& color)
{
    SetColor(diffuse, color);
    return *this;
}

Material& Material::SetSpecular(float r, float g, float b, float a)
{
    SetColor(specular, r, g, b, a);
    return *this;
}

Material& Material::SetSpecular(const Math::Vector& color)
{
    SetColor(specular, color);
    return *this;
}

Material& Material::SetEmission(float r, float g, float b, float a)
{
    SetColor(emission, r, g, b, a);
    return *this;
}

Material& Material::SetEmission(const Math::Vector& color)
{
    SetColor(emission, color);
    return *this;
}

Material& Material::SetDefaultAmbient()
{
    return SetAmbient(0.2f, 0.2f, 0.2f, 1.0f);
}

Material& Material::SetDefaultDiffuse()
{
    return SetDiffuse(0.8f, 0.8f, 0.8f, 1.0f);
}

Material& Material::SetDefaultSpecular()
{
    return SetSpecular(0.0f, 0.0f, 0.0f, 1.0f);
}

Material& Material::SetDefaultEmission()
{
    return SetEmission(0.0f, 0.0f, 0.0f, 1.0f);
}

Material& Material::SetShininess(float value)
{
    shininess = value;
    return *this;
}

Material& Material::SetAlpha(float value)
{
    alpha = value;
    return *this;
}

Material& Material::SetTexture(Texture* newTexture)
{
    texture = newTexture;
    texturePath = texture ? texture->GetPath() : std::string();
    return *this;
}

Material& Material::SetTexture(DataStore* store, const std::string& path)
{
    if (!path.empty())
    {
        // Refuses a texture outside the data folder while its model is read.
        texture = store->AddTexture(DataPath(path), nullptr);
        texturePath = path;
    }
    return *this;
}

bool Material::Apply() const
{
    bool pushed = false;
    if (texture && texture->IsReady())
    {
        pushed = texture->PushTextureMatrix();
        glBindTexture(GL_TEXTURE_2D, texture->textureId);
    }
    else
        glBindTexture(GL_TEXTURE_2D, 0);
    glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT, GL_EMISSION, emission);
    glMaterialf(GL_FRONT, GL_SHININESS, std::clamp(shininess, 0.0f, MaxShininess));
    glColor4f(diffuse[0], diffuse[1], diffuse[2], alpha);
    return pushed;
}

void Material::SetTexCoordState(bool& arrayOn) const
{
    const bool textured = texture != nullptr;
    if (textured && !arrayOn)
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    else if (!textured && arrayOn)
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    arrayOn = textured;
}

void Material::CheckWritable(const std::string& modelDirectory) const
{
    Model3D::ModelFile::CheckWord(name, "The material name");
    Model3D::ModelFile::CheckWord(RelativePath(texturePath, modelDirectory), "The texture path");
}

void Material::Write(obinstream& out, const std::string& modelDirectory) const
{
    out << "Material: " << name << "\n";
    if (texture)
        out << "Texture: " << RelativePath(texturePath, modelDirectory)
            << "\n";
    else
        out << " ";
    WriteColor(out, ambient);
    WriteColor(out, diffuse);
    WriteColor(out, specular);
    WriteColor(out, emission);
    out << shininess << alpha;
}
