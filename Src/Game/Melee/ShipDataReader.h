#pragma once

#include "Engine/DataReader.h"
#include "Game/Melee/LaserWeapon.h"
#include "Game/Melee/ProjectileWeapon.h"
#include "Game/Melee/ShipModel.h"
#include "Game/Objects/ShipModelData.h"

#include <memory>

namespace Melee
{

// Reads one "ship" element of a data file into a ship definition and adds it
// to the store's "ShipDataList". The ship's children set its values; every
// other tag goes to the base, so a ship may also register resources, run
// scripts and hold interface definitions, and a nested "ship" is read as a
// ship of its own. A ship whose reading fails is not added.
class ShipDataReader : public DataReader
{
public:
    ShipDataReader(DataStore* store, EventDispatcher* events, LuaState* lua);

    // The reader of "ship" elements, registered with the data reader.
    static DataReader* Make(DataStore* store, EventDispatcher* events, LuaState* lua,
                            Object* parent);

    // Reads one ship; a ship element reached from inside another (through an
    // "include") throws Error.
    void ReadElement(const TiXmlNode* element) override;
    bool HandleTag(const TiXmlElement* element, const std::string& lowerTag) override;

    // The spring children of "acceleration" and "turningspeed".
    static void ReadPidController(const TiXmlElement* element, ::ShipModel::Data::Gains& gains,
                                  float& target);
    // A "primaryweapon" or "secondaryweapon" element; null, with a printed
    // line, when it has neither a "Projectile" nor a "Laser" child.
    static std::unique_ptr<Weapon::Data> ReadWeapon(const TiXmlElement* element, DataStore& store);
    static std::unique_ptr<ProjectileWeapon::Data>
    ReadProjectileWeaponData(const TiXmlElement* element, DataStore& store);
    static std::unique_ptr<LaserWeapon::Data> ReadLaserWeaponData(const TiXmlElement* element);

private:
    using TagReader = void (ShipDataReader::*)(const TiXmlElement* element, ShipModel::Data& ship);

    static TagReader FindTag(const std::string& lowerTag);

    void ReadCrew(const TiXmlElement* element, ShipModel::Data& ship);
    void ReadEnergy(const TiXmlElement* element, ShipModel::Data& ship);
    void ReadMaxSpeed(const TiXmlElement* element, ShipModel::Data& ship);
    void ReadAcceleration(const TiXmlElement* element, ShipModel::Data& ship);
    void ReadTurningSpeed(const TiXmlElement* element, ShipModel::Data& ship);
    void ReadMass(const TiXmlElement* element, ShipModel::Data& ship);
    void ReadCaptainUi(const TiXmlElement* element, ShipModel::Data& ship);
    void ReadInitFunction(const TiXmlElement* element, ShipModel::Data& ship);
    void ReadUpdateFunction(const TiXmlElement* element, ShipModel::Data& ship);
    void ReadThrust(const TiXmlElement* element, ShipModel::Data& ship);
    void ReadPrimaryWeapon(const TiXmlElement* element, ShipModel::Data& ship);
    void ReadSecondaryWeapon(const TiXmlElement* element, ShipModel::Data& ship);
};

} // namespace Melee
