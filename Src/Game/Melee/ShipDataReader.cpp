#include "Game/Melee/ShipDataReader.h"

#include "Engine/DataStore.h"
#include "Engine/Error.h"
#include "Engine/Settings.h"
#include "Engine/Xml.h"
#include "Game/Melee/FrameUnits.h"
#include "Game/Melee/LaserWeaponData.h"
#include "Game/Melee/ProjectileWeaponData.h"
#include "Game/Melee/ShipModelData.h"
#include "Game/Objects/FiniteNumbers.h"
#include "Game/Objects/ShipDataList.h"

#include <cstdio>
#include <tinyxml.h>

namespace Melee
{

namespace
{

using Conversion = void (*)(float& value);

bool IsOriginal(const TiXmlElement* element)
{
    return XmlGetBool(element, "original", false);
}

// The required float, converted from frame units when the element is marked
// "original".
void ReadValue(const TiXmlElement* element, const char* name, Conversion convert, float& value)
{
    RequireFiniteFloat(element, name, value);
    if (IsOriginal(element))
        convert(value);
    CheckFinite(element, name, value);
}

// In frame units a turn of -1 divides by 0; one below -1 only reverses the
// turn.
void ReadTurning(const TiXmlElement* element, const char* name, float& value)
{
    RequireFiniteFloat(element, name, value);
    if (!IsOriginal(element))
        return;
    if (value == -1)
        XmlError(element, "Attribute '", name, "' must not be -1 in frame units");
    ConvertTurningSpeed(value);
    CheckFinite(element, name, value);
}

WeaponMount ReadMount(const TiXmlElement* element)
{
    WeaponMount mount;
    GetFiniteFloat(element, "angle", mount.angle);
    RequireFiniteFloat(element, "x", mount.offset[0]);
    RequireFiniteFloat(element, "y", mount.offset[1]);
    RequireFiniteFloat(element, "z", mount.offset[2]);
    return mount;
}

// The children every weapon kind shares; the kind's own element is skipped.
void ReadWeaponChildren(const TiXmlElement* element, const std::string& kindTag,
                        Weapon::Data& weapon)
{
    for (const TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement())
    {
        const std::string tag = XmlLowerTag(child);
        if (tag == "sample")
            XmlRequireString(child, "resource", weapon.sample);
        else if (tag == "energycost")
            RequireFiniteInt(child, "value", weapon.energyCost);
        else if (tag == "damage")
            RequireFiniteInt(child, "value", weapon.damage);
        else if (tag == "waittime")
            ReadValue(child, "value", ConvertWaitTime, weapon.waitTime);
        else if (tag == "offset")
            weapon.mounts.push_back(ReadMount(child));
        else if (tag != kindTag)
            XmlUnknownTag(child);
    }
}

} // namespace

ShipDataReader::ShipDataReader(DataStore* store, EventDispatcher* events, LuaState* lua)
    : DataReader(store, events, lua)
{
}

DataReader* ShipDataReader::Make(DataStore* store, EventDispatcher* events, LuaState* lua,
                                 Object* /*parent*/)
{
    return new ShipDataReader(store, events, lua);
}

void ShipDataReader::ReadElement(const TiXmlNode* node)
{
    // Only a ship being read is ever a context of this reader.
    if (CurrentContext())
        throw Error("Internal error, Ship defined inside of other ship!");
    const TiXmlElement* const element = node ? node->ToElement() : nullptr;
    if (!element)
        throw Error("Internal error, received NULL element!");
    const std::string file = CurrentFile();
    const std::string resource = XmlRequireAttribute(element, "resource");
    const std::string race = XmlRequireAttribute(element, "race");
    const std::string name = XmlRequireAttribute(element, "name");
    auto ship = std::make_unique<ShipModel::Data>(file, resource, race, name);
    ReadChildren(element, ship.get());
    ShipDataList* const list = dynamic_cast<ShipDataList*>(store->GetPointer("ShipDataList", true));
    if (!list)
        throw Error("Missing resource: 'ShipDataList'");
    list->Add(std::move(ship));
}

bool ShipDataReader::HandleTag(const TiXmlElement* element, const std::string& lowerTag)
{
    const TagReader reader = FindTag(lowerTag);
    if (!reader)
        return DataReader::HandleTag(element, lowerTag);
    (this->*reader)(element, *static_cast<ShipModel::Data*>(CurrentContext()));
    return true;
}

ShipDataReader::TagReader ShipDataReader::FindTag(const std::string& lowerTag)
{
    static const struct
    {
        const char* tag;
        TagReader reader;
    } tags[] = {{"crew", &ShipDataReader::ReadCrew},
                {"energy", &ShipDataReader::ReadEnergy},
                {"maxspeed", &ShipDataReader::ReadMaxSpeed},
                {"acceleration", &ShipDataReader::ReadAcceleration},
                {"turningspeed", &ShipDataReader::ReadTurningSpeed},
                {"mass", &ShipDataReader::ReadMass},
                {"captainui", &ShipDataReader::ReadCaptainUi},
                {"initfunction", &ShipDataReader::ReadInitFunction},
                {"updatefunction", &ShipDataReader::ReadUpdateFunction},
                {"thrust", &ShipDataReader::ReadThrust},
                {"primaryweapon", &ShipDataReader::ReadPrimaryWeapon},
                {"secondaryweapon", &ShipDataReader::ReadSecondaryWeapon}};
    for (const auto& known : tags)
    {
        if (lowerTag == known.tag)
            return known.reader;
    }
    return nullptr;
}

void ShipDataReader::ReadCrew(const TiXmlElement* element, ShipModel::Data& ship)
{
    RequireFiniteInt(element, "start", ship.crew);
    RequireFiniteInt(element, "max", ship.crewMax);
}

void ShipDataReader::ReadEnergy(const TiXmlElement* element, ShipModel::Data& ship)
{
    RequireFiniteInt(element, "start", ship.energy);
    RequireFiniteInt(element, "max", ship.energyMax);
    RequireFiniteInt(XmlRequireChild(element, "Regeneration", true), "value", ship.regeneration);
    ReadValue(XmlRequireChild(element, "WaitTime", true), "value", ConvertWaitTime,
              ship.regenerationWait);
}

// The thrust divides by the square of the limit, so a limit whose square is
// 0 is refused; a negative one limits as its size does.
void ShipDataReader::ReadMaxSpeed(const TiXmlElement* element, ShipModel::Data& ship)
{
    ReadValue(element, "value", ConvertSpeed, ship.maxSpeed);
    ship.maxSpeedSquared = ship.maxSpeed * ship.maxSpeed;
    if (!(ship.maxSpeedSquared > 0))
        XmlError(element, "Attribute 'value' is 0 or too near it");
}

// The speed gained per step: the value times the step length, in frame units
// or not.
void ShipDataReader::ReadAcceleration(const TiXmlElement* element, ShipModel::Data& ship)
{
    RequireFiniteFloat(element, "value", ship.acceleration);
    if (IsOriginal(element))
    {
        int wait = 0;
        RequireFiniteInt(element, "wait", wait);
        ConvertAcceleration(ship.acceleration, wait);
    }
    ship.acceleration *= StepSeconds;
    CheckFinite(element, "value", ship.acceleration);
    ReadPidController(element, ship.pitchGains, ship.pitchTarget);
}

void ShipDataReader::ReadTurningSpeed(const TiXmlElement* element, ShipModel::Data& ship)
{
    ReadTurning(element, "value", ship.turningSpeed);
    ReadPidController(element, ship.rollGains, ship.rollTarget);
}

void ShipDataReader::ReadMass(const TiXmlElement* element, ShipModel::Data& ship)
{
    RequireFiniteFloat(element, "value", ship.mass);
}

void ShipDataReader::ReadCaptainUi(const TiXmlElement* element, ShipModel::Data& ship)
{
    ship.captainUi = std::make_unique<TiXmlElement>(*element);
}

void ShipDataReader::ReadInitFunction(const TiXmlElement* element, ShipModel::Data& ship)
{
    XmlRequireString(element, "name", ship.initFunction);
}

void ShipDataReader::ReadUpdateFunction(const TiXmlElement* element, ShipModel::Data& ship)
{
    XmlRequireString(element, "name", ship.updateFunction);
}

void ShipDataReader::ReadThrust(const TiXmlElement* element, ShipModel::Data& ship)
{
    ship.engines.push_back(std::make_unique<ThrustData>(element, *store));
}

void ShipDataReader::ReadPrimaryWeapon(const TiXmlElement* element, ShipModel::Data& ship)
{
    ship.primaryWeapon = ReadWeapon(element, *store);
}

void ShipDataReader::ReadSecondaryWeapon(const TiXmlElement* element, ShipModel::Data& ship)
{
    ship.secondaryWeapon = ReadWeapon(element, *store);
}

void ShipDataReader::ReadPidController(const TiXmlElement* element, ::ShipModel::Data::Gains& gains,
                                       float& target)
{
    for (const TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement())
    {
        const std::string tag = XmlLowerTag(child);
        if (tag == "pidcontroller")
        {
            RequireFiniteFloat(child, "p", gains.p);
            RequireFiniteFloat(child, "i", gains.i);
            RequireFiniteFloat(child, "d", gains.d);
        }
        else if (tag == "targetangle")
            RequireFiniteFloat(child, "value", target);
        else
            XmlUnknownTag(child);
    }
}

std::unique_ptr<Weapon::Data> ShipDataReader::ReadWeapon(const TiXmlElement* element,
                                                         DataStore& store)
{
    std::unique_ptr<Weapon::Data> weapon;
    if (const TiXmlElement* projectile = XmlRequireChild(element, "Projectile", false))
    {
        weapon = ReadProjectileWeaponData(projectile, store);
        ReadWeaponChildren(element, "projectile", *weapon);
    }
    else if (const TiXmlElement* laser = XmlRequireChild(element, "Laser", false))
    {
        weapon = ReadLaserWeaponData(laser);
        ReadWeaponChildren(element, "laser", *weapon);
    }
    else
    {
        std::printf("Weapon type not found from '%s' in file '%s'\n", element->Value(),
                    XmlDocumentName(element).c_str());
    }
    return weapon;
}

std::unique_ptr<ProjectileWeapon::Data>
ShipDataReader::ReadProjectileWeaponData(const TiXmlElement* element, DataStore& store)
{
    auto weapon =
        std::make_unique<ProjectileWeapon::Data>(XmlRequireAttribute(element, "resource"));
    RequireFiniteFloat(element, "hitRadius", weapon->hitRadius);
    for (const TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement())
    {
        const std::string tag = XmlLowerTag(child);
        if (tag == "hits")
            RequireFiniteInt(child, "value", weapon->hits);
        else if (tag == "lifetime")
            ReadValue(child, "value", ConvertLifetime, weapon->lifetime);
        else if (tag == "speed")
            ReadValue(child, "value", ConvertSpeed, weapon->speed);
        else if (tag == "homing")
        {
            weapon->homing = true;
            ReadTurning(child, "turningSpeed", weapon->turningSpeed);
        }
        else if (tag == "canhitowner")
            weapon->canHitOwner = true;
        else if (tag == "thrust")
            weapon->thrust.push_back(std::make_unique<ThrustData>(child, store));
    }
    return weapon;
}

std::unique_ptr<LaserWeapon::Data> ShipDataReader::ReadLaserWeaponData(const TiXmlElement* element)
{
    auto weapon = std::make_unique<LaserWeapon::Data>(XmlRequireAttribute(element, "resource"));
    for (const TiXmlElement* child = element->FirstChildElement(); child;
         child = child->NextSiblingElement())
    {
        const std::string tag = XmlLowerTag(child);
        if (tag == "range")
            RequireFiniteFloat(child, "value", weapon->range);
        else if (tag == "width")
            RequireFiniteFloat(child, "value", weapon->width);
        else if (tag == "continuous")
            weapon->continuous = true;
    }
    return weapon;
}

} // namespace Melee
