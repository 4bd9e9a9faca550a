#include "labels/TLabelTemplates.h"

#include "data/TProgramHome.h"
#include "data/TSystemTables.h"
#include "data/TWin1252.h"
#include "labels/TLabelRow.h"
#include "xbase/TCursor.h"

#include <QDir>
#include <QFileInfo>

namespace qm::labels {

QString TLabelTemplates::DefaultFolder()
{
    data::TProgramHome home = data::TProgramHome::Current();
    if (home.Dir().isEmpty())
        home = data::TProgramHome::Locate();
    const QString homeSysdata = home.SysDataDir();
    if (!homeSysdata.isEmpty() &&
        QFileInfo(data::TProgramHome(home.Dir()).FilePath(QStringLiteral("sysdata/LBLTPL.DBF")))
            .isFile())
        return homeSysdata;
    return QDir(data::TProgramHome::ShippedDataDir()).filePath(QStringLiteral("sysdata"));
}

QString TLabelTemplates::Open(const QString& sysdataDir)
{
    Close();
    const QString failure = data::TSystemTables::OpenOrCreate(
        mSet, data::TSystemTable::LabelTemplates, sysdataDir, xbase::TOpenMode::ReadOnly);
    if (!failure.isEmpty())
        return failure;
    if (mSet.Table().TagOrder("DESCRIPT") > 0)
        mSet.Cursor().SelectTag("DESCRIPT");
    return {};
}

void TLabelTemplates::Close()
{
    if (mSet.Active())
        mSet.Close();
}

QStringList TLabelTemplates::Matching(const QString& expression)
{
    QStringList descriptions;
    if (!mSet.Active())
        return descriptions;
    const std::optional<QByteArray> query = data::TWin1252::Encode(expression);
    xbase::TCursor& cursor = mSet.Cursor();
    cursor.SetQuery(query ? std::string_view(query->constData(), size_t(query->size()))
                          : std::string_view());
    try {
        for (mSet.First(); !mSet.Eof() && !mSet.IsEmpty(); mSet.Next())
            descriptions << mSet.AsString(QStringLiteral("DESCRIPT"));
    } catch (...) {
        cursor.ClearQuery();
        throw;
    }
    cursor.ClearQuery();
    return descriptions;
}

std::optional<TLabelGeometry> TLabelTemplates::Find(const QString& description, QString* problem)
{
    if (!mSet.Active())
        return std::nullopt;
    const QString wanted = description;
    for (mSet.First(); !mSet.Eof() && !mSet.IsEmpty(); mSet.Next()) {
        if (mSet.AsString(QStringLiteral("DESCRIPT")) != wanted)
            continue;
        TLabelGeometry g;
        const QString why = TLabelRow::ReadTemplate(mSet, &g);
        if (problem)
            *problem = why;
        return g;
    }
    return std::nullopt;
}

} // namespace qm::labels
