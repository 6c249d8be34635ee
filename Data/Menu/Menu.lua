-- The main menu's script: the functions that its interface's hooks call.

-- Sizes a text frame to its text, so that its anchor point lies on the text.
-- A font that is not loaded yet measures nothing; the next update tries again.
function FitText(frame)
    local width, height = frame:GetTextSize()
    if width > 0 then
        frame:SetSize(width, height)
    end
end

function ToggleFrame(frame)
    if frame:IsVisible() then
        frame:Hide()
    else
        frame:Show()
    end
end

-- Each button's tint, and its tint under the pointer.
local buttonColors = {
    StartGameButton = { normal = { 0.2, 0.36, 0.8 }, highlight = { 0.35, 0.55, 1.0 } },
    BattleButton = { normal = { 0.15, 0.6, 0.22 }, highlight = { 0.28, 0.9, 0.35 } },
    ExitButton = { normal = { 0.75, 0.2, 0.15 }, highlight = { 1.0, 0.35, 0.28 } },
}

function MenuButton_Highlight(button, highlighted)
    local colors = buttonColors[button:GetName()]
    local color = highlighted and colors.highlight or colors.normal
    button:SetColor(color[1], color[2], color[3])
end

-- The frame-time window: the viewed profiler's last frame time and the share
-- of each of its children. The names change only when the profiler tree does.
local profilerNames = {}

function Profiler_UpdateNames()
    profilerNames = {}
    local index = 0
    while Profiler.Name[index] do
        profilerNames[index + 1] = Profiler.Name[index]
        index = index + 1
    end
end

function ProfilerWindow_Update()
    local lines = { string.format("%s  %.2f ms", Profiler.Title, Profiler.LastTime * 1000) }
    for index, name in ipairs(profilerNames) do
        lines[index + 1] = string.format("    %s  %.1f %%", name, Profiler.Time[index - 1] or 0)
    end
    ProfilerWindowText:SetText(table.concat(lines, "\n"))
end

-- Key press hook of the menu: F1 shows and hides the frame times. Returns 1
-- for a key it took, 0 to pass the key on.
local keyF1 = 282

function MenuKeys_Press(key)
    if key == keyF1 then
        ToggleFrame(ProfilerWindow)
        return 1
    end
    return 0
end

Profiler_UpdateNames()
