#pragma once

// Writes the current record of an address file as one vCard (version 3.0 or 4.0, UTF-8, CR LF,
// lines folded at 75 bytes without splitting a character). The card the vCard import reads back
// into the same field values:
//   N: LNAME;FNAME;MIDDLE;PREFIX;          FN: prefix, first, middle and last name (else ORG)
//   ORG, TITLE                             ADR: ;;STREET\nSTREET2;CITY;STATE;ZIP;COUNTRY
//   TEL home,voice (preferred): PHONE      TEL work,voice: PHONE2      TEL fax: FAX
//   EMAIL                                  CATEGORIES: CODES (its commas separate categories)
//   NOTE: the memo (line breaks as \n)     X-QUILLMARK-DATE, -COMMENT1, -COMMENT2: DATE, USER1,
//   USER2
// Properties of empty fields are left out; N and FN are always written. Values are the fields'
// texts without trailing blanks, escaped as the version wants (\\, \, \; and \n).

#include <string>

namespace qm::xbase {
class TTable;
}

namespace qm::transfer {

enum class TVCardVersion { V30, V40 };

class TVCardWriter {
public:
    // Appends the card of the table's current record to out.
    static void Card(const xbase::TTable& table, TVCardVersion version, std::string& out);
};

} // namespace qm::transfer
