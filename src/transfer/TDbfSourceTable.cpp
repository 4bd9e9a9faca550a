#include "transfer/TDbfSourceTable.h"

#include "transfer/TImportText.h"
#include "transfer/TTransferError.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <QFile>
#include <QFileInfo>

namespace qm::transfer {

TDbfSourceTable::TDbfSourceTable(const QString& path) : mPath(path)
{
    try {
        xbase::TTableOptions options;
        options.mode = xbase::TOpenMode::ReadOnly;
        options.openIndex = false;
        mTable = xbase::TTable::Open(path.toStdString(), options);
    } catch (const xbase::TXbaseError& error) {
        throw TTransferError(QStringLiteral("Unable to open the file ") + path +
                             QStringLiteral("\r\n") + QString::fromStdString(error.Message()));
    }
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray head = file.read(32);
        if (head.size() > 29)
            mMark = static_cast<unsigned char>(head[29]);
    }
    if (mMark == xbase::TCodePageDos::kMark437)
        mDosPage = &xbase::TCodePageDos::Page437();
    else if (mMark == xbase::TCodePageDos::kMark850)
        mDosPage = &xbase::TCodePageDos::Page850();
    mTable->SetTurboRead(true);
}

TDbfSourceTable::~TDbfSourceTable() = default;

uint32_t TDbfSourceTable::RecordCount() const
{
    return mTable->RecordCount();
}

bool TDbfSourceTable::Go(uint32_t recNo)
{
    try {
        mTable->Go(recNo);
        return !mTable->Deleted();
    } catch (const xbase::TXbaseError& error) {
        throw TTransferError(QFileInfo(mPath).fileName() + QStringLiteral(", record ") +
                             QString::number(recNo) + QStringLiteral(": ") +
                             QString::fromStdString(error.Message()));
    }
}

void TDbfSourceTable::Text(int field, std::string& out) const
{
    try {
        out = mTable->GetText(field);
    } catch (const xbase::TXbaseError& error) {
        throw TTransferError(QFileInfo(mPath).fileName() + QStringLiteral(", record ") +
                             QString::number(mTable->RecNo()) + QStringLiteral(", field ") +
                             QString::fromStdString(mTable->Fields()[size_t(field)].name) +
                             QStringLiteral(": ") + QString::fromStdString(error.Message()));
    }
    if (!mDosPage)
        return;
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            continue;
        const char16_t u = xbase::TCodePageDos::ToUnicode(*mDosPage, b);
        const int w = TImportText::Win1252Byte(u);
        if (w < 0)
            throw TTransferError(QStringLiteral("The character ") + TImportText::CharacterName(u) +
                                 QStringLiteral(" in record ") + QString::number(mTable->RecNo()) +
                                 QStringLiteral(", field ") +
                                 QString::fromStdString(mTable->Fields()[size_t(field)].name) +
                                 QStringLiteral(" of ") + QFileInfo(mPath).fileName() +
                                 QStringLiteral(" cannot be stored in the address file."));
        c = static_cast<char>(w);
    }
}

} // namespace qm::transfer
