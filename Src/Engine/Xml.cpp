#include "Engine/Xml.h"

#include "Engine/DataFile.h"
#include "Engine/Error.h"
#include "Engine/ScopedArray.h"
#include "Engine/StringUtil.h"
#include "Engine/XmlNesting.h"

#include <cstdio>

namespace
{

int XmlLine(const TiXmlNode* node)
{
    return node->GetDocument() ? node->Row() : 0;
}

} // namespace

std::string XmlGetAttribute(const TiXmlElement* element, const std::string& name,
                            const std::string& defaultValue)
{
    const std::string* text = element->Attribute(name);
    return text ? *text : defaultValue;
}

void XmlGetString(const TiXmlElement* element, const std::string& name, std::string& value,
                  const std::string& defaultValue)
{
    value = XmlGetAttribute(element, name, defaultValue);
}

bool XmlGetBool(const TiXmlElement* element, const std::string& name, bool defaultValue)
{
    bool value = defaultValue;
    StringToBool(element->Attribute(name.c_str()), value);
    return value;
}

void XmlGetBool(const TiXmlElement* element, const std::string& name, bool& value,
                bool defaultValue)
{
    value = XmlGetBool(element, name, defaultValue);
}

void XmlGetInt(const TiXmlElement* element, const std::string& name, int& value, int defaultValue)
{
    value = defaultValue;
    if (const char* text = element->Attribute(name.c_str()))
        StringToInt(text, value);
}

void XmlGetFloat(const TiXmlElement* element, const std::string& name, float& value,
                 float defaultValue)
{
    value = defaultValue;
    if (const char* text = element->Attribute(name.c_str()))
        StringToFloat(text, value);
}

void XmlGetDouble(const TiXmlElement* element, const std::string& name, double& value,
                  float defaultValue)
{
    value = defaultValue;
    if (const char* text = element->Attribute(name.c_str()))
        StringToDouble(text, value);
}

const char* XmlRequireAttribute(const TiXmlElement* element, const std::string& name)
{
    const char* text = element->Attribute(name.c_str());
    if (!text)
        XmlError(element, "Missing attribute '", name, "'");
    return text;
}

void XmlRequireString(const TiXmlElement* element, const std::string& name, std::string& value)
{
    value = XmlRequireAttribute(element, name);
}

void XmlRequireInt(const TiXmlElement* element, const std::string& name, int& value)
{
    StringToInt(XmlRequireAttribute(element, name), value);
}

void XmlRequireFloat(const TiXmlElement* element, const std::string& name, float& value)
{
    StringToFloat(XmlRequireAttribute(element, name), value);
}

void XmlRequireDouble(const TiXmlElement* element, const std::string& name, double& value)
{
    StringToDouble(XmlRequireAttribute(element, name), value);
}

bool XmlRequireBool(const TiXmlElement* element, const std::string& name)
{
    return ParseBool(XmlRequireAttribute(element, name));
}

void XmlRequireBool(const TiXmlElement* element, const std::string& name, bool& value)
{
    StringToBool(XmlRequireAttribute(element, name), value);
}

std::string XmlRequirePath(const TiXmlElement* element, const std::string& name,
                           const std::string& directory)
{
    const std::string path = directory + XmlRequireAttribute(element, name);
    try
    {
        DataPath(path);
    }
    catch (const std::exception& e)
    {
        XmlError(element, e.what());
    }
    return path;
}

const TiXmlElement* XmlRequireChild(const TiXmlNode* node, const char* name, bool required)
{
    const TiXmlElement* child = node->FirstChildElement(name);
    if (!child && required)
        XmlError(node, "Missing '", name, "' element!");
    return child;
}

void XmlError(const TiXmlNode* node, const std::string& a, const std::string& b,
              const std::string& c, const std::string& d, const std::string& e)
{
    throw Error(a + b + c + d + e, " in:\n", XmlLocation(node));
}

std::string XmlLowerTag(const TiXmlElement* element)
{
    std::string tag = element->ValueStr();
    ToLower(tag);
    return tag;
}

std::string XmlLocation(const TiXmlNode* node)
{
    return XmlDocumentName(node) + ", line " + ToString(XmlLine(node));
}

std::string XmlDocumentName(const TiXmlNode* node)
{
    const TiXmlDocument* document = node->GetDocument();
    return document ? document->ValueStr() : "<unknown>";
}

void XmlUnknownTag(const TiXmlElement* element)
{
    std::printf("Unknown XML tag '%s', in file '%s' line %d\n", element->Value(),
                XmlDocumentName(element).c_str(), XmlLine(element));
}

void XmlUnknownValue(const std::string& tag, const std::string& attribute, const std::string& value)
{
    std::printf("Unknown attribute value '%s' in '<%s ... %s='%s' ...>'\n", value.c_str(),
                tag.c_str(), attribute.c_str(), value.c_str());
}

std::string XmlTextProblem(const char* text, std::size_t size, std::size_t openBytes)
{
    if (size > MaxXmlBytes)
        return "the document is larger than the " + ToString(MaxXmlBytes >> 20) +
               " MB an XML file may have";
    if (openBytes + size > MaxOpenXmlBytes)
        return "with the files that include it, the document is larger than the " +
               ToString(MaxOpenXmlBytes >> 20) + " MB that may be read at once";
    return CheckXmlNesting(text);
}

void XmlParse(TiXmlDocument& document, const char* text)
{
    // The longest UTF-8 sequence TinyXML steps over is four bytes.
    const std::size_t longestStep = 4;
    std::string padded(text);
    padded.append(longestStep, '\0');
    document.Parse(padded.c_str());
}

std::size_t XmlLoadFile(const std::string& file, TiXmlDocument& document, std::size_t openBytes)
{
    if (file.empty())
        throw Error("XML filename was not specified!");
    std::size_t size = 0;
    const ScopedArray<char> text(ReadFile(file, &size));
    const std::string problem = XmlTextProblem(text.Get(), size, openBytes);
    if (!problem.empty())
        XmlError(&document, "XML parsing error '", problem, "'");
    XmlParse(document, text.Get());
    if (document.Error())
        XmlError(&document, "XML parsing error '", document.ErrorDesc(), "'");
    // The parser accepts a text of comments, declarations or a stray '<'.
    if (!document.RootElement())
        XmlError(&document, "XML parsing error '", "no root element", "'");
    return size;
}
