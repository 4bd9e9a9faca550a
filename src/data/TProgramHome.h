#pragma once

// The program home directory: the one folder that holds "QUILLM.ini", sysdata/, DATA/ and the
// program's temporary files.
//
// Where it is, first match wins:
//   1. the QUILLMARK_HOME environment variable;
//   2. the executable's folder, when it is writable and already holds "QUILLM.ini" or sysdata/
//      (a portable install);
//   3. the user's data folder (~/.local/share/quillmark on Linux).
// Prepare() creates it and seeds sysdata/ with the shipped read-only tables that are not there
// yet (an existing file of the same name in any letter case is never replaced).

#include <QString>
#include <stdexcept>

namespace qm::data {

class THomeError : public std::runtime_error {
public:
    THomeError(const QString& path, const QString& reason);
    QString Message() const { return mMessage; }

private:
    QString mMessage;
};

class TProgramHome {
public:
    static constexpr const char* kSettingsFileName = "QUILLM.ini";

    TProgramHome() = default;
    explicit TProgramHome(QString dir);

    // Decides where the home is by the rules above; does not create anything.
    static TProgramHome Locate();

    // The shipped read-only data folder: QM_DATA_DIR when set, else share/quillmark beside the
    // executable's bin/ folder.
    static QString ShippedDataDir();

    // Creates the home, sysdata/ and DATA/ and seeds sysdata/ from shippedDataDir/sysdata.
    // Throws THomeError naming the folder and the reason when a folder cannot be made.
    void Prepare(const QString& shippedDataDir) const;

    // After Prepare(): a message naming the folders when a shipped read-only table (the label
    // sheet templates, the state/ZIP ranges) is still missing from sysdata/, because the
    // installed data folder is missing or lacks it, or because it could not be copied; empty
    // when every shipped table is there. The program runs on without the tables.
    QString ShippedTablesProblem(const QString& shippedDataDir) const;

    const QString& Dir() const { return mDir; }
    QString SettingsPath() const;
    QString SysDataDir() const;
    QString DataDir() const;
    // A file in the home found in any letter case; when missing, the path it would have.
    QString FilePath(const QString& relativePath) const;

    // The home of this process, set once at start-up (tests set their own).
    static const TProgramHome& Current();
    static void SetCurrent(const TProgramHome& home);

private:
    QString mDir;
};

} // namespace qm::data
