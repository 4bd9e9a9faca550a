#pragma once

// The rules for the file a copy goes to, applied after the save dialog (and by the tool): a DBF
// copy needs the .DBF extension (any case); the open address file is refused (by file identity,
// not by name), and so are its memo and index files and a table whose name differs from it only in
// letter case (it would share them); an existing file needs the user's yes to be overwritten.

#include <QString>

namespace qm::transfer {

enum class TCopyTargetKind { Dbf, Text, VCard };

class TCopyOutTarget {
public:
    enum class TVerdict { Copy, Refused, AskOverwrite };
    struct TCheck {
        TVerdict verdict = TVerdict::Copy;
        QString message; // the refusal, or the overwrite question
    };

    static TCheck Check(const QString& path, TCopyTargetKind kind, const QString& openAddressFile);

    // The name with the kind's extension added when it has none ("OUT" -> "OUT.DBF", ".TXT",
    // ".vcf").
    static QString WithDefaultExtension(const QString& path, TCopyTargetKind kind);

    // The file name, " already exists.", CR LF and "Do you want to overwrite it?".
    static QString OverwriteQuestion(const QString& path);
};

} // namespace qm::transfer
