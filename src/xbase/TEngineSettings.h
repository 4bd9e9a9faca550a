#pragma once

// The engine's process-wide settings. The program has one thread; code that needs another value
// switches it with TSettingScope, does its work and gets the old value back, also after an error.

namespace qm::xbase {

struct TEngineSettings {
    bool deleted = true;   // records carrying the deletion mark are hidden from every movement
    bool exact = false;    // off: "=" and seeks match a prefix of the left side / of the key
    bool softSeek = false; // a seek that finds nothing stops on the next greater key
    bool century = true;   // dates show four-digit years
};

// The one instance of the process.
TEngineSettings& EngineSettings();

// Sets one setting for the lifetime of the scope.
class TSettingScope {
public:
    TSettingScope(bool TEngineSettings::*setting, bool value)
        : mSetting(setting), mOld(EngineSettings().*setting)
    {
        EngineSettings().*mSetting = value;
    }
    ~TSettingScope() { EngineSettings().*mSetting = mOld; }
    TSettingScope(const TSettingScope&) = delete;
    TSettingScope& operator=(const TSettingScope&) = delete;

private:
    bool TEngineSettings::*mSetting;
    bool mOld;
};

} // namespace qm::xbase
