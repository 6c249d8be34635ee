-- The callbacks of the speaking, which every conversation defines anew.

function Communication:StartSpeaking()
    CommunicationWindowSpeaker:Show()
end

function Communication:StopSpeaking()
    CommunicationWindowSpeaker:Hide()
end
