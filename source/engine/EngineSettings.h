#pragma once

// The engine's whole configuration as one value. The processor holds these settings in its
// parameters; the engine's builder reads them afresh every time it builds, so a build always
// carries the settings as they are at that moment, never a copy some caller made earlier.
struct EngineSettings
{
    int inputChannels = 0;        // active channel counts (0 when the pedal is off)
    int outputChannels = 0;
    int qualityCode = 0;          // 0 or 1: ratio 2; 2: ratio 4
    int model = 0;                // 0 "Original", 1 "Modded"
    int drive = 0;                // pot positions on the knob grid
    int tone = 0;
    int level = 0;
    double inputGainTarget = 0.0;
    double outputGainTarget = 0.0;

    bool operator== (const EngineSettings& o) const noexcept
    {
        return inputChannels == o.inputChannels && outputChannels == o.outputChannels
            && qualityCode == o.qualityCode && model == o.model && drive == o.drive
            && tone == o.tone && level == o.level && inputGainTarget == o.inputGainTarget
            && outputGainTarget == o.outputGainTarget;
    }
    bool operator!= (const EngineSettings& o) const noexcept { return ! (*this == o); }
};

// Where the builder reads the settings from. It is called on whatever thread builds (the audio
// thread among them), so it must read without locks and without allocating.
class EngineSettingsSource
{
public:
    virtual EngineSettings currentEngineSettings() const noexcept = 0;

protected:
    ~EngineSettingsSource() = default;
};
