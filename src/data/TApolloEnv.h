#pragma once

// The engine's process-wide settings as the program names them: deleted-record hiding, exact
// matching, soft seeks and four-digit years. The main window owns one and hands it to the windows
// it opens; they all change the same settings. A TScoped value switches one setting for a block
// and puts it back, also when the block ends with an error.

#include "xbase/TEngineSettings.h"

namespace qm::data {

class TApolloEnv {
public:
    bool Deleted() const { return xbase::EngineSettings().deleted; }
    void SetDeleted(bool on) { xbase::EngineSettings().deleted = on; }
    bool Exact() const { return xbase::EngineSettings().exact; }
    void SetExact(bool on) { xbase::EngineSettings().exact = on; }
    bool SoftSeek() const { return xbase::EngineSettings().softSeek; }
    void SetSoftSeek(bool on) { xbase::EngineSettings().softSeek = on; }
    bool Century() const { return xbase::EngineSettings().century; }
    void SetCentury(bool on) { xbase::EngineSettings().century = on; }

    // The program's defaults: deleted records hidden, prefix matching, no soft seek, four-digit
    // years.
    void SetDefaults();

    using TScoped = xbase::TSettingScope;
    static TScoped ScopedDeleted(bool on) { return TScoped(&xbase::TEngineSettings::deleted, on); }
    static TScoped ScopedExact(bool on) { return TScoped(&xbase::TEngineSettings::exact, on); }
    static TScoped ScopedSoftSeek(bool on)
    {
        return TScoped(&xbase::TEngineSettings::softSeek, on);
    }
};

} // namespace qm::data
