#include "Game/Objects/FiniteNumbers.h"

#include "Engine/StringUtil.h"
#include "Engine/Vector.h"
#include "Engine/Xml.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string>

namespace
{

bool FitsFloat(double value)
{
    return std::fabs(value) <= FLT_MAX;
}

bool WithinLimit(double value)
{
    return std::fabs(value) <= ValueLimit;
}

std::string BeyondLimit(const char* name)
{
    return std::string("Attribute '") + name + "' is beyond the limit of " +
           ToString(static_cast<int>(ValueLimit));
}

void CheckText(const TiXmlElement* element, const char* name, const char* text)
{
    char* end = nullptr;
    const double number = std::strtod(text, &end);
    if (end == text)
        return;
    if (!FitsFloat(number))
        XmlError(element, "Attribute '", name, "' is not a finite number: '", text, "'");
    if (!WithinLimit(number))
        XmlError(element, BeyondLimit(name), ": '", text, "'");
}

} // namespace

void RequireFiniteFloat(const TiXmlElement* element, const char* name, float& value)
{
    CheckText(element, name, XmlRequireAttribute(element, name));
    XmlRequireFloat(element, name, value);
}

void RequireFiniteInt(const TiXmlElement* element, const char* name, int& value)
{
    CheckText(element, name, XmlRequireAttribute(element, name));
    XmlRequireInt(element, name, value);
}

void GetFiniteFloat(const TiXmlElement* element, const char* name, float& value)
{
    if (const char* text = element->Attribute(name))
        CheckText(element, name, text);
    XmlGetFloat(element, name, value, value);
}

void GetFiniteVector(const TiXmlElement* element, Math::Vector& vector)
{
    GetFiniteFloat(element, "x", vector[0]);
    GetFiniteFloat(element, "y", vector[1]);
    GetFiniteFloat(element, "z", vector[2]);
}

void CheckFinite(const TiXmlElement* element, const char* name, float value)
{
    if (!WithinLimit(value))
        XmlError(element, BeyondLimit(name), " once converted");
}
