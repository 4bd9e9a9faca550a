#pragma once

// Helpers of the import and export tests: files in a temporary folder, address files made with the
// default field lengths, records read back as text, and Python scripts run with the system
// interpreter (where Debian's csv, dbf and dbfread modules live).

#include "data/TAddressFile.h"
#include "data/TNewFileFieldLengths.h"
#include "xbase/TTable.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace qm::transfer::test {

inline void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// A new address file with the default field lengths (LNAME 30, ZIP 10, ...), closed.
inline QString MakeAddressFile(const QTemporaryDir& dir,
                               const QString& name = QStringLiteral("ADD0001.DBF"))
{
    const QString path = QDir(dir.path()).filePath(name);
    const QString error = data::TAddressFile::Create(path, data::TNewFileFieldLengths());
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return path;
}

inline std::unique_ptr<xbase::TTable> OpenTable(const QString& path)
{
    return xbase::TTable::Open(path.toStdString());
}

// The trimmed text of a field of every record, in record order.
inline std::vector<std::string> Column(const QString& path, const char* field)
{
    auto table = xbase::TTable::Open(path.toStdString());
    std::vector<std::string> values;
    const int f = table->FieldIndex(field);
    for (uint32_t r = 1; r <= table->RecordCount(); ++r) {
        table->Go(r);
        values.push_back(table->GetText(f));
    }
    table->Close();
    return values;
}

// Runs a script with the system interpreter; returns its standard output and error. The test
// fails on a non-zero exit.
inline std::string RunPython(const QTemporaryDir& dir, const std::string& script)
{
    const QString file = QDir(dir.path()).filePath(QStringLiteral("script.py"));
    WriteFile(file, QByteArray::fromStdString(script));
    const std::string command =
        "cd '" + dir.path().toStdString() + "' && /usr/bin/python3 script.py 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return {};
    }
    std::string out;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
        out.append(buf.data(), n);
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out;
    return out;
}

} // namespace qm::transfer::test
