// Fuzzes the text import's reading: the encoding decision, the record reader, the sample and the
// conversion of values to Windows-1252 must take any bytes without crashing, hanging or reading
// out of bounds. A quote never closed is a TCsvFormatError; a refused file is a refusal text.

#include "transfer/TCsvRecordReader.h"
#include "transfer/TCsvSample.h"
#include "transfer/TImportText.h"
#include "transfer/TTextFileSource.h"

#include <QByteArray>
#include <QStringDecoder>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace qm::transfer;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString refusal;
    int mark = 0;
    const TTextFileSource::TKind kind = TTextFileSource::Decide(bytes, &refusal, &mark);
    if (!refusal.isEmpty())
        return 0;
    std::string text;
    if (kind == TTextFileSource::TKind::Utf16LE || kind == TTextFileSource::TKind::Utf16BE) {
        QStringDecoder decoder(kind == TTextFileSource::TKind::Utf16LE ? QStringConverter::Utf16LE
                                                                       : QStringConverter::Utf16BE);
        text = QString(decoder(QByteArrayView(bytes).sliced(mark))).toStdString();
    } else {
        text.assign(bytes.constData() + mark, size_t(bytes.size() - mark));
    }
    const bool utf8 = kind != TTextFileSource::TKind::Windows1252;

    TMemoryByteSource sampleSource(text);
    const TCsvSample sample = TCsvSample::FromSource(sampleSource, utf8);
    for (int i = 0; i < sample.FieldCount(); ++i)
        (void)sample.Longest(i);

    TMemoryByteSource source(text);
    TCsvRecordReader reader(source);
    const TImportText convert(utf8);
    std::string out;
    char32_t bad = 0;
    try {
        while (reader.Next())
            for (int i = 0; i < reader.FieldCount(); ++i)
                if (!convert.ToWin1252(reader.Field(i), out, &bad))
                    (void)TImportText::CharacterName(bad);
    } catch (const TCsvFormatError&) {
    }
    return 0;
}
