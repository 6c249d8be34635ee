#include "Graphics/Model3D/Model.h"

#include "Engine/DataStore.h"
#include "Engine/Matrix.h"
#include "Engine/Xml.h"
#include "Graphics/Model3D/ModelLoader.h"

#include <algorithm>
#include <iterator>
#include <tinyxml.h>

namespace
{

float RequireFloat(const TiXmlElement* element, const char* name)
{
    float value = 0.0f;
    XmlRequireFloat(element, name, value);
    return value;
}

} // namespace

Model* DataStore::GetModel(const std::string& name, bool mustExist)
{
    return Get<Model>(name, mustExist);
}

Model::Model(DataStore* store, const std::string& path) : Resource(path), store(store) {}

Model::Model(const std::string& name, bool ready) : Resource(name, ready), store(nullptr) {}

Model::~Model() = default;

Model* Model::MakeEmpty(const std::string& name)
{
    return new Model(name, true);
}

void Model::Load()
{
    if (IsReady())
        return;
    Model3D::ModelLoader(store, path).Load(meshes);
    ReadDefinition("3DModel", true);
}

bool Model::ParseElement(const TiXmlElement* element, const std::string& lowerTag)
{
    if (lowerTag != "deform")
        return Resource::ParseElement(element, lowerTag);
    ParseDeform(element);
    return true;
}

void Model::ParseDeform(const TiXmlElement* element)
{
    static const struct
    {
        const char* tag;
        Math::Matrix (*parse)(const TiXmlElement*);
    } steps[] = {{"move", ParseMove},
                 {"rotate", ParseRotate},
                 {"scale", ParseScale},
                 {"matrix", ParseMatrix}};

    Math::Matrix deform = Math::Matrix::Identity;
    for (const TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement())
    {
        const std::string tag = XmlLowerTag(child);
        const auto* step = std::find_if(std::begin(steps), std::end(steps),
                                        [&tag](const auto& known) { return tag == known.tag; });
        if (step == std::end(steps))
            XmlUnknownTag(child);
        else
            deform = step->parse(child) * deform;
    }
    ApplyMatrix(deform);
}

Math::Matrix Model::ParseMove(const TiXmlElement* element)
{
    return Math::Matrix::Translate(RequireFloat(element, "x"), RequireFloat(element, "y"),
                                   RequireFloat(element, "z"));
}

Math::Matrix Model::ParseRotate(const TiXmlElement* element)
{
    return Math::Matrix::Rotate(RequireFloat(element, "angle"), RequireFloat(element, "x"),
                                RequireFloat(element, "y"), RequireFloat(element, "z"));
}

Math::Matrix Model::ParseScale(const TiXmlElement* element)
{
    return Math::Matrix::Scale(RequireFloat(element, "x"), RequireFloat(element, "y"),
                               RequireFloat(element, "z"));
}

// "dCR" holds column C, row R.
Math::Matrix Model::ParseMatrix(const TiXmlElement* element)
{
    Math::Matrix matrix;
    for (int column = 0; column < 4; ++column)
    {
        for (int row = 0; row < 4; ++row)
        {
            const char name[] = {'d', static_cast<char>('0' + column),
                                 static_cast<char>('0' + row), '\0'};
            matrix(column, row) = RequireFloat(element, name);
        }
    }
    return matrix;
}

void Model::ApplyMatrix(const Math::Matrix& matrix)
{
    for (const std::unique_ptr<Model3D::Mesh>& mesh : meshes)
        mesh->Transform(matrix);
}
