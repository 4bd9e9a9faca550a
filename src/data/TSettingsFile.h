#pragma once

// The program's settings file ("QUILLM.ini" in the home directory), read and written the way a
// Windows program sees an INI file through the profile-string service.
//
// Contract:
// - No cache: every read opens the file, reads it whole and closes it; every write reads, changes
//   one line and replaces the file, so a value written by one window is seen at once by the next.
// - A missing or unreadable file, section or key gives the caller's default.
// - Strings are cut to 1023 characters (the old 1024-character buffer with its terminator).
// - Integers: a value of more than two characters starting with "0x"/"0X" is hexadecimal; text
//   that is not a valid 32-bit integer gives the default. Booleans are integers, non-zero true.
// - Writes keep every other byte of the file and replace it atomically; a write that cannot be
//   made throws TSettingsWriteError whose message is "Unable to write to " + path.
// - The file's text is UTF-8 when it is valid UTF-8, else Windows-1252; a new file is UTF-8 with a
//   byte-order mark.

#include <QString>
#include <optional>
#include <stdexcept>

namespace qm::data {

class TSettingsWriteError : public std::runtime_error {
public:
    TSettingsWriteError(const QString& path, const QString& reason);
    // "Unable to write to " + path, the text the user sees.
    QString Message() const { return mMessage; }
    // What the operating system said, for the curious.
    QString Reason() const { return mReason; }

private:
    QString mMessage;
    QString mReason;
};

class TSettingsFile {
public:
    static constexpr int kMaxStringLength = 1023;

    explicit TSettingsFile(QString path);

    const QString& Path() const { return mPath; }

    QString ReadString(const QString& section, const QString& key, const QString& def = {}) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    bool HasKey(const QString& section, const QString& key) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);
    void DeleteKey(const QString& section, const QString& key);

    // The integer rule on its own: the value, or nothing when the text does not read.
    static std::optional<int> ParseInteger(const QString& text);

private:
    std::optional<QString> Raw(const QString& section, const QString& key) const;

    QString mPath;
};

} // namespace qm::data
