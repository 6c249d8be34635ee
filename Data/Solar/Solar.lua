-- The solar system's script: the table through which the conversations and
-- the interface talk. The conversation adds its methods and fields to it
-- when it opens; these callbacks show its options on the window's buttons.

Communication = {}

local maxOptions = 4
local optionColors = {
    normal = { 0.2, 0.36, 0.8 },
    highlight = { 0.35, 0.55, 1.0 },
}

-- The option button of that number, or nil when the conversation that made
-- it is gone (a deleted frame leaves an empty table under its name).
local function OptionButton(index)
    local button = _G[Communication.WindowName .. "Option" .. index]
    if button and button.Hide then
        return button
    end
end

function Communication:HideOptions()
    for index = 1, maxOptions do
        local button = OptionButton(index)
        if button then
            button:Hide()
        end
    end
end

-- Options beyond the fourth have no button.
function Communication:ShowOptions(highlight)
    for index = 1, maxOptions do
        local button = OptionButton(index)
        local text = self.Options[index]
        if button and text then
            local color = index == highlight and optionColors.highlight or optionColors.normal
            button:SetColor(color[1], color[2], color[3])
            _G[button:GetName() .. "Label"]:SetText(text)
            button:Show()
        elseif button then
            button:Hide()
        end
    end
end
