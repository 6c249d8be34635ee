#include "Game/Objects/ThrustData.h"

#include "Engine/DataStore.h"
#include "Engine/Xml.h"
#include "Game/Objects/FiniteNumbers.h"

ThrustData::ThrustData(Texture* texture) : texture(texture) {}

ThrustData::ThrustData(const TiXmlElement* element, DataStore& store)
    : texture(store.GetTexture(XmlRequireAttribute(element, "resource"), true))
{
    for (const TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement())
    {
        const std::string tag = XmlLowerTag(child);
        if (tag == "size")
            RequireFiniteFloat(child, "value", size);
        else if (tag == "life")
            RequireFiniteFloat(child, "time", life);
        else if (tag == "position")
            GetFiniteVector(child, position);
        else if (tag == "speed")
        {
            GetFiniteVector(child, speed);
            GetFiniteFloat(child, "factor", speedFactor);
        }
        else if (tag == "accel")
        {
            GetFiniteVector(child, accel);
            GetFiniteFloat(child, "factor", accelFactor);
        }
        else
            XmlUnknownTag(child);
    }
}
