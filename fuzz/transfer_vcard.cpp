// Fuzzes the vCard import's reading: the card reader (unfolding, parameters, quoted-printable,
// character sets), the mapping of a card to fields and the character check must take any bytes
// without crashing, hanging or reading out of bounds. A refused file is a TTransferError.

#include "transfer/TTransferError.h"
#include "transfer/TVCardImportSource.h"
#include "transfer/TVCardReader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace qm::transfer;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const bool utf8 : {true, false}) {
        TMemoryByteSource source(bytes);
        TVCardReader reader(source, utf8);
        TVCard card;
        try {
            while (reader.Next(card)) {
                (void)TVCardImportSource::Contact(card);
                TVCardImportSource::CheckCharacters(card);
            }
        } catch (const TTransferError&) {
        }
    }
    return 0;
}
