#pragma once

// A vCard file as an import source: one record per card, the fields filled by property, never
// matched by hand. Which property fills which field:
// - N: family name to Last Name, given name to First Name, additional names to Middle, prefixes to
//   Prefix (several values of one component joined by blanks); a suffix goes to the memo.
// - FN to Last Name when the card has no N or an empty one, and FN is not just the ORG.
// - ORG to Organization (its units joined by ", "); TITLE to Title.
// - ADR, TEL and EMAIL: of several, the one chosen first is the preferred one (PREF, lowest value
//   first, or the type "pref"), else the first of type "home", else the first of type "work",
//   else the first. ADR fills Address 1 (the first line of its street; the further lines, the
//   extended address and the post office box go to Address 2, joined by ", "), City, State,
//   Zip/Postal Code and Country. EMAIL fills Email. TEL of type "fax" fills Fax. Of the other
//   TELs the first "home" number (in the order above) fills Phone 1, the first "work" number
//   Phone 2, and the others (cell, voice, untyped) fill whichever of the two is still empty
//   (a "tel:" of version 4.0 dropped).
// - CATEGORIES to Codes (every category, joined by commas).
// - NOTE to the memo; then, one per line, whatever has no field of its own, so that nothing is
//   dropped: further addresses, telephone numbers and e-mail addresses with their types
//   ("Phone (cell): ..."), further titles, the name suffix and BDAY ("Birthday: ...").
// - X-QUILLMARK-DATE, X-QUILLMARK-COMMENT1 and -COMMENT2 (written by the vCard copy) to the record
//   date, Comment 1 and Comment 2.
// Other properties are ignored; binary values (PHOTO, LOGO, SOUND, KEY) are skipped unread.
//
// Check() reads the whole file first and refuses it, before anything is appended, for what
// TVCardReader refuses and for a character Windows-1252 cannot hold, naming the character, the
// card (its line) and the property (its name and line).

#include "transfer/TImportSource.h"
#include "transfer/TVCardReader.h"

#include <QMap>
#include <memory>

namespace qm::xbase {
class TTable;
}

namespace qm::transfer {

class TTextFileSource;

class TVCardImportSource : public TImportSource {
public:
    // Throws TTransferError when the file cannot be opened or is not readable text.
    TVCardImportSource(const QString& path, const xbase::TTable& target);
    // The same over bytes already in an ASCII-compatible encoding (tests, the fuzzer).
    TVCardImportSource(std::unique_ptr<TByteSource> bytes, bool utf8, const xbase::TTable& target);
    ~TVCardImportSource() override;

    // The fields a card fills, by field name ("MEMO" for the memo), as text with "\n" line breaks.
    static QMap<QString, QString> Contact(const TVCard& card);
    // Throws TTransferError naming the first character of the card Windows-1252 cannot hold.
    static void CheckCharacters(const TVCard& card);
    // Whether a file looks like a vCard file (its first line that is not blank is BEGIN:VCARD).
    static bool LooksLikeVCard(const QString& path);

    QString CheckingStatus() const override { return QStringLiteral("Checking the cards"); }
    int64_t Check(const std::function<bool()>& tick) override;
    void Rewind() override;
    bool Next(TImportRecord& record) override;
    // "N lines read formed M records."
    QString ReadTally() const override;

private:
    void MapFields(const xbase::TTable& target);

    std::unique_ptr<TByteSource> mBytes;
    TTextFileSource* mFile = nullptr;
    bool mUtf8 = true;
    std::unique_ptr<TVCardReader> mReader;
    TVCard mCard;
    int64_t mRecords = 0;
    std::vector<std::pair<QString, int>> mFields; // field name, field number
    int mMemo = -1;
};

} // namespace qm::transfer
