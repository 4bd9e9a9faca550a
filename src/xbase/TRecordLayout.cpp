#include "xbase/TRecordLayout.h"

namespace qm::xbase {

int FindField(const TFieldList& fields, std::string_view name)
{
    for (size_t i = 0; i < fields.size(); ++i) {
        const std::string& f = fields[i].name;
        if (f.size() != name.size())
            continue;
        bool same = true;
        for (size_t k = 0; k < f.size() && same; ++k) {
            char a = f[k], b = name[k];
            if (a >= 'a' && a <= 'z')
                a = char(a - 32);
            if (b >= 'a' && b <= 'z')
                b = char(b - 32);
            same = a == b;
        }
        if (same)
            return int(i);
    }
    return -1;
}

} // namespace qm::xbase
