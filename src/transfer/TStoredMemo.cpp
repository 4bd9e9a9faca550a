#include "transfer/TStoredMemo.h"

namespace qm::transfer {

void TStoredMemo::Apply(std::string& text)
{
    size_t length = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            length += 2;
            ++i;
        } else if (text[i] == '\r' || text[i] == '\n') {
            length += 2;
        } else {
            ++length;
        }
    }
    if (length == 0 || length % 4 != 0)
        return;
    size_t end = text.size();
    if (end >= 2 && text[end - 2] == '\r' && text[end - 1] == '\n')
        end -= 2;
    else if (end >= 1 && (text[end - 1] == '\r' || text[end - 1] == '\n'))
        end -= 1;
    text.insert(end, 1, ' ');
}

} // namespace qm::transfer
