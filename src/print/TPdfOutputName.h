#pragma once

// The file a print job on the built-in "PDF file" printer writes, before the user confirms it: a
// name made from the job ("Labels - Avery 5160" gives "Labels - Avery 5160.pdf") in the folder the
// user last wrote a PDF to. That folder is kept in the settings file ([Printing] PdfFolder), so
// the next job of any window starts there.
//
// Contract: plain text work and the settings file only; no dialog. Paths use '/' as Qt gives them.

#include <QString>

namespace qm::print {

class TPdfOutputName {
public:
    // The job's name as a file name: characters that a file name on the platforms the program
    // runs on cannot hold (/ \ : * ? " < > | and control characters) become "-", tabs and line
    // breaks blanks, runs of blanks one blank, dots and blanks at either end are dropped, at most
    // 100 characters are kept, and
    // ".pdf" is appended. A job without a usable name gives "Quillmark.pdf".
    static QString FileName(const QString& jobName);

    // The folder last written to while it still exists; else the user's documents folder, else
    // the home folder.
    static QString LastFolder();
    // Keeps the folder of filePath as the last one used. Throws data::TSettingsWriteError when
    // the settings file cannot be written.
    static void RememberFolder(const QString& filePath);

    // LastFolder() with FileName(jobName) in it.
    static QString Suggested(const QString& jobName);

    // The line a print's final status adds to name the file written: "Written to " and the
    // path as the platform shows it.
    static QString WrittenLine(const QString& filePath);
};

} // namespace qm::print
