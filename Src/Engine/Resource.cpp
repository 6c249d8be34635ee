#include "Engine/Resource.h"

#include "Engine/Error.h"
#include "Engine/ResourceLoader.h"
#include "Engine/StringUtil.h"
#include "Engine/Xml.h"

Resource::Resource(const std::string& path) : Resource(path, false) {}

Resource::Resource(const std::string& path, bool ready)
    : path(path), ready(ready), queued(false), definitionRead(false)
{
}

Resource::~Resource() = default;

bool Resource::ParseElement(const TiXmlElement* /*element*/, const std::string& /*lowerTag*/)
{
    return false;
}

void Resource::ReadDefinition(const std::string& rootName, bool redirect)
{
    if (definitionRead)
        return;
    definitionRead = true;
    if (GetExtension(path) == "xml")
        ParseDescriptorFile(rootName, redirect);
    if (definition)
        ParseChildren(definition.get());
}

void Resource::ParseDescriptorFile(const std::string& rootName, bool redirect)
{
    try
    {
        TiXmlDocument document(path);
        XmlLoadFile(path, document);
        const TiXmlElement* root = document.FirstChildElement(rootName);
        if (!root)
            XmlError(&document, "Can't find root element '", rootName, "'");
        if (redirect)
            path = XmlRequirePath(root, "file", GetDirectory(path));
        ParseChildren(root);
    }
    catch (const std::exception& e)
    {
        throw Error("Error while reading file: '", path, "'\n", e.what());
    }
}

void Resource::ParseChildren(const TiXmlElement* element)
{
    for (const TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement())
    {
        ResourceLoader::StopPoint();
        const std::string tag = XmlLowerTag(child);
        if (!ParseElement(child, tag))
            XmlUnknownTag(child);
    }
}
