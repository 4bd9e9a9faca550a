#pragma once

// The text encoding of a copy to a comma-delimited file, as "Copy Records Out" offers it:
// Windows-1252 without a mark (the address file's own bytes, which older software reads) or UTF-8
// with a byte-order mark. The window's last choice is kept in the settings file, section
// `Export`, key `Encoding`, under the names the tool's --encoding takes ("windows-1252",
// "utf-8"); with nothing stored, or a value that does not read, the choice is Windows-1252.

#include <QString>
#include <optional>

namespace qm::transfer {

enum class TCopyTextEncoding { Windows1252, Utf8 };

class TCopyOutEncoding {
public:
    // The names the tool and the settings file use, any letter case ("cp1252" and "utf8" too).
    static std::optional<TCopyTextEncoding> Parse(const QString& name);
    static QString Name(TCopyTextEncoding encoding);
    // What the window shows for each choice.
    static QString Caption(TCopyTextEncoding encoding);

    static TCopyTextEncoding Stored(const QString& settingsPath);
    // Throws data::TSettingsWriteError when the settings file cannot be written.
    static void Store(const QString& settingsPath, TCopyTextEncoding encoding);
};

} // namespace qm::transfer
