-- The battle's script: the ships' windows follow the unit events.

local GaugeWidth = 100

-- What the events told of each ship, by player number.
local ships = {}

local function Ship(unit)
    ships[unit] = ships[unit] or { crew = 0, crewMax = 0, battery = 0, batteryMax = 0 }
    return ships[unit]
end

-- A gauge's width shows the share of its maximum; never quite 0, as a frame
-- needs some width.
local function SetGauge(gauge, value, maximum)
    local share = 0
    if maximum > 0 then
        share = math.max(0, math.min(1, value / maximum))
    end
    gauge:SetWidth(math.max(1, GaugeWidth * share))
end

local function ShowShip(unit)
    local ship = ships[unit]
    local window = "ShipWindow" .. unit
    local crew, battery = _G[window .. "Crew"], _G[window .. "Battery"]
    if not crew or not battery then
        return
    end
    if ship.destroyed then
        crew:SetText("Destroyed")
    else
        crew:SetText(string.format("Crew %d/%d", ship.crew, ship.crewMax))
    end
    battery:SetText(string.format("Battery %d/%d", ship.battery, ship.batteryMax))
    SetGauge(_G[window .. "CrewGauge"], ship.crew, ship.crewMax)
    SetGauge(_G[window .. "BatteryGauge"], ship.battery, ship.batteryMax)
end

local fields = {
    UNIT_HEALTH = "crew",
    UNIT_MAXHEALTH = "crewMax",
    UNIT_BATTERY = "battery",
    UNIT_MAXBATTERY = "batteryMax",
}

function MeleeReports_Register(frame)
    for name in pairs(fields) do
        frame:RegisterEvent(name)
    end
    frame:RegisterEvent("UNIT_CREATED")
    frame:RegisterEvent("UNIT_DESTROYED")
end

function MeleeReports_OnEvent(name, event)
    local ship = Ship(event.Unit)
    if name == "UNIT_DESTROYED" then
        ship.destroyed = true
    elseif fields[name] then
        ship[fields[name]] = event.Value
    end
    ShowShip(event.Unit)
    return 0
end
