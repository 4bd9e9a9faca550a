#pragma once

// Small helpers shared by the RTF tests: reading bytes into a fresh document and looking at the
// formats of its text.

#include "richtext/TRtfReader.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>

namespace qm::richtext::test {

inline QByteArray Rtf(const char* body)
{
    return QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Arial;}{\\f1\\froman "
                      "Times New Roman;}}"
                      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}") +
           body + "}";
}

// The character format at a position (of the character after it).
inline QTextCharFormat FormatAt(const QTextDocument& document, int position)
{
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

inline QString Family(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first();
}

inline QStringList Paragraphs(const QTextDocument& document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines.append(block.text());
    return lines;
}

} // namespace qm::richtext::test
