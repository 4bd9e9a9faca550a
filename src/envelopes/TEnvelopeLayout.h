#pragma once

// The working values of one envelope layout: an ENVELOPE row as the "Print Envelope" window
// holds it, or a new layout not yet saved.

#include "envelopes/TEnvelopeSizes.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace qm::envelopes {

struct TEnvelopeLayout {
    static constexpr int kMaxDescriptionLength = 50; // what the designer stores
    static QString NewDescription() { return QStringLiteral("<New envelope>"); }

    uint32_t recNo = 0; // the row's record number; 0 for a layout not saved yet (New)
    QString description = TEnvelopeSizes::DefaultDescription();
    int code = TEnvelopeSizes::kDefaultCode;
    QString layoutFile; // the bare file name in sysdata/, as the row stores it

    bool IsNew() const { return recNo == 0; }
    // Nothing for a code that is no envelope size (see TEnvelopeSizes::NoValidSizeMessage).
    std::optional<TEnvelopeFace> Face() const { return TEnvelopeSizes::Face(code); }
};

} // namespace qm::envelopes
