#pragma once

// Reads the cards of a vCard file (versions 2.1, 3.0 and 4.0: the vCard 2.1 format, RFC 2425,
// 2426 and 6350) one at a time, keeping of each card only the properties the import uses.
//
// Content lines end at CR LF, LF or CR. A line that starts with a blank or a tab continues the
// one before it (the blank is dropped); a quoted-printable value that ends with "=" continues on
// the next line (2.1's soft line break). Each content line is [group "."] name *(";" parameter)
// ":" value; the group (item1.ADR) is dropped, names and parameter names compare in any case.
// Parameters: TYPE=a,b or TYPE="a,b", 2.1's bare types (HOME, WORK, PREF, QUOTED-PRINTABLE),
// PREF=n, ENCODING=QUOTED-PRINTABLE or B/BASE64 (binary: the property is skipped), CHARSET
// (UTF-8, ISO-8859-1, Windows-1252, US-ASCII and the other character sets Qt knows).
//
// Refused (TTransferError, naming the line): text outside a card, BEGIN:VCARD inside a card, a card
// without END:VCARD, a property line without a colon, a character set nobody knows, a kept value
// longer than kMaxValueBytes, a card whose kept values exceed kMaxCardBytes, a file without cards.
// Memory stays bounded on any input: a line is kept up to kMaxLineBytes (the rest of a longer line
// is read and dropped), and properties that are not kept (PHOTO, LOGO, unknown ones) are never
// stored whole. Time is linear in the size of the input.

#include "transfer/TByteSource.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

namespace qm::transfer {

struct TVCardProperty {
    std::string name;               // upper case, without its group
    std::vector<std::string> types; // lower case: TYPE values and bare parameters
    int pref = 0;                   // PREF=n or a "pref" type (1); 0: not preferred
    QString value;                  // decoded (quoted-printable, character set), still escaped
    int64_t line = 0;               // where its content line starts

    bool HasType(const char* type) const;
    // The value unescaped (\n, \N as line breaks; \\, \, \; as the character).
    QString Text() const;
    // The components of a structured value (N, ADR, ORG), split at unescaped semicolons, each
    // unescaped.
    QStringList Components() const;
    // The items of a list value (CATEGORIES), split at unescaped commas, each unescaped.
    QStringList Items() const;
    // The items of component i of a structured value (N: several given names), each unescaped.
    QStringList ComponentItems(int i) const;
};

struct TVCard {
    int64_t line = 0; // the line of its BEGIN:VCARD
    std::vector<TVCardProperty> properties;
};

class TVCardReader {
public:
    static constexpr size_t kMaxLineBytes = size_t(1) << 20;
    static constexpr size_t kMaxValueBytes = size_t(1) << 20;
    static constexpr size_t kMaxCardBytes = size_t(4) << 20;

    // utf8: the bytes are UTF-8 (else Windows-1252, where a CHARSET parameter decides).
    TVCardReader(TByteSource& source, bool utf8);

    // The next card; false after the last. Throws TTransferError.
    bool Next(TVCard& card);

    int64_t LinesRead() const { return mLine; }
    int64_t CardsRead() const { return mCards; }

    // Whether a property is kept (the import uses it).
    static bool Kept(const std::string& name);

private:
    int Peek();
    bool ReadPhysical(std::string& out, bool& cut);
    bool NextLogical(std::string& line, int64_t& lineNumber, bool& cut);
    void Parse(const std::string& line, int64_t lineNumber, bool cut, const TVCard& card,
               std::vector<TVCardProperty>& into, size_t& cardBytes);

    TByteSource& mSource;
    bool mUtf8;
    std::vector<char> mBuffer;
    size_t mPos = 0;
    size_t mEnd = 0;
    bool mAtEnd = false;
    int64_t mLine = 0; // physical lines read
    int64_t mCards = 0;
    std::string mPending; // the physical line after the logical one handed out
    int64_t mPendingLine = 0;
    bool mPendingCut = false;
    bool mHavePending = false;
};

} // namespace qm::transfer
