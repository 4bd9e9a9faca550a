#include "xbase/TFieldDef.h"

#include "xbase/TDbfFormat.h"
#include "xbase/TXbaseError.h"

namespace qm::xbase {

TFieldList MakeFieldList(const std::vector<TFieldDef>& defs)
{
    if (defs.empty())
        throw TXbaseError(TErrorKind::Usage, "a table needs at least one field");
    if (defs.size() > dbf::kMaxFieldsWritten)
        throw TXbaseError(TErrorKind::Usage, "a table can have at most " +
                                                 std::to_string(dbf::kMaxFieldsWritten) +
                                                 " fields");
    TFieldList fields;
    uint32_t offset = 1;
    for (const TFieldDef& s : defs) {
        auto bad = [&](const std::string& why) {
            return TXbaseError(TErrorKind::Usage, "field \"" + s.name + "\": " + why);
        };
        TFieldInfo f;
        f.name = s.name;
        if (f.name.empty() || f.name.size() > 10)
            throw bad("a name has 1 to 10 characters");
        for (size_t i = 0; i < f.name.size(); ++i) {
            char& c = f.name[i];
            if (c >= 'a' && c <= 'z')
                c = char(c - 32);
            const bool letter = c >= 'A' && c <= 'Z';
            const bool ok = letter || (i > 0 && ((c >= '0' && c <= '9') || c == '_'));
            if (!ok)
                throw bad("a name has letters, digits and '_' and starts with a letter");
        }
        if (FindField(fields, f.name) >= 0)
            throw bad("the name is used twice");
        f.type = s.type;
        switch (s.type) {
        case TFieldType::Character:
            if (s.length < 1 || s.length > int(dbf::kMaxCharLength))
                throw bad("a character field is 1 to 254 wide");
            f.length = uint16_t(s.length);
            break;
        case TFieldType::Numeric:
        case TFieldType::Float:
            if (s.length < 1 || s.length > int(dbf::kMaxNumericLength))
                throw bad("a numeric field is 1 to 20 wide");
            if (s.decimals < 0 || s.decimals > 15 || (s.decimals > 0 && s.decimals > s.length - 2))
                throw bad("the decimals must leave room for the point and a digit");
            f.length = uint16_t(s.length);
            f.decimals = uint8_t(s.decimals);
            break;
        case TFieldType::Logical:
            f.length = 1;
            break;
        case TFieldType::Date:
            f.length = 8;
            break;
        case TFieldType::Memo:
            f.length = uint16_t(dbf::kMemoFieldLength);
            break;
        default:
            throw bad("only C, N, F, L, D and M fields can be created");
        }
        f.offset = offset;
        offset += f.length;
        fields.push_back(std::move(f));
    }
    if (offset > 65535)
        throw TXbaseError(TErrorKind::Usage, "the record is longer than 65,535 bytes");
    return fields;
}

} // namespace qm::xbase
