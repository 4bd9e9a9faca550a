#pragma once

// A tiny dictionary of the home ("quillm.aff"/"quillm.dic") for spelling tests that must not
// depend on the system's word list.

#include <QDir>
#include <QFile>
#include <QString>

namespace qm::spelling::test {

inline void WriteHomeDictionary(const QString& homeDir, const QStringList& words)
{
    QFile aff(QDir(homeDir).filePath("quillm.aff"));
    aff.open(QIODevice::WriteOnly);
    aff.write("SET UTF-8\nTRY esianrtolcdugmphbyfvkwzESIANRTOLCDUGMPHBYFVKWZ'\n");
    QFile dic(QDir(homeDir).filePath("quillm.dic"));
    dic.open(QIODevice::WriteOnly);
    dic.write(QByteArray::number(words.size()) + "\n" + words.join("\n").toUtf8() + "\n");
}

} // namespace qm::spelling::test
