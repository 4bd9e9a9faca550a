// Feeds arbitrary bytes to the readers of filter files and of the browse column file: a filter
// file becomes 18 entries and a filter expression (or a refusal) without a crash, and the column
// lines only ever reorder the fields, never lose or repeat one.

#include "addressbook/TColumnOrder.h"
#include "data/TFilterBuilder.h"
#include "data/TWin1252.h"

#include <QByteArray>
#include <QStringList>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = qm::data::TWin1252::DecodeTextFile(bytes);

    using qm::data::TFilterBuilder;
    qm::data::TFilterEntries filter = TFilterBuilder::FromFileText(text);
    filter.taggedOnly = size % 2 == 1;
    const TFilterBuilder::TResult built = TFilterBuilder::Build(filter, QStringLiteral("ID"));
    if (!built.error.isEmpty() && !built.expression.isEmpty())
        std::abort();
    if (built.expression.isEmpty() && built.error.isEmpty() && !filter.IsEmpty()) {
        // Only entries made of separators and blanks give no condition.
        for (const QString& entry : filter.entries)
            for (QChar c : entry)
                if (c != QLatin1Char(';') && c != QLatin1Char('+') && c != QLatin1Char('^') &&
                    c != QLatin1Char('$') && !c.isSpace() && c != QLatin1Char('>') &&
                    c != QLatin1Char('<') && c != QLatin1Char('='))
                    std::abort();
    }
    // Written back and read again, the entries stay as they were (lines hold no line breaks).
    bool hasBreak = false;
    for (const QString& entry : filter.entries)
        hasBreak =
            hasBreak || entry.contains(QLatin1Char('\r')) || entry.contains(QLatin1Char('\n'));
    if (!hasBreak) {
        filter.taggedOnly = false;
        if (!(TFilterBuilder::FromFileText(TFilterBuilder::FileText(filter)) == filter))
            std::abort();
    }

    QStringList fields = {QStringLiteral("LNAME"), QStringLiteral("FNAME"), QStringLiteral("CITY"),
                          QStringLiteral("Tagged"), QStringLiteral("MEMO")};
    QStringList lines = text.split(QLatin1Char('\n'));
    QStringList order = qm::addressbook::TColumnOrder::Apply(fields, lines);
    std::sort(order.begin(), order.end());
    std::sort(fields.begin(), fields.end());
    if (order != fields)
        std::abort();
    return 0;
}
