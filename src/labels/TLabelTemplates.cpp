#include "labels/TLabelTemplates.h"

#include "data/TErrorReason.h"
#include "data/TProgramHome.h"
#include "data/TSystemTables.h"
#include "data/TWin1252.h"
#include "labels/TLabelRow.h"
#include "xbase/TCursor.h"
#include "xbase/TEngineSettings.h"
#include "xbase/TXbaseError.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace qm::labels {
namespace {

const QString kDescript = QStringLiteral("DESCRIPT");

// The tag's key of a description: its upper case in Windows-1252 bytes, compared byte by byte.
QByteArray Key(const QString& description)
{
    return data::TWin1252::Encode(data::TWin1252::Upper(description))
        .value_or(description.toUpper().toUtf8());
}

} // namespace

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

QString TLabelTemplates::DefaultUserFolder()
{
    data::TProgramHome home = data::TProgramHome::Current();
    if (home.Dir().isEmpty())
        home = data::TProgramHome::Locate();
    return home.Dir().isEmpty() ? QString() : home.SysDataDir();
}

QString TLabelTemplates::Open(const QString& sysdataDir, const QString& userDir)
{
    Close();
    const QString failure = data::TSystemTables::OpenOrCreate(
        mSet, data::TSystemTable::LabelTemplates, sysdataDir, xbase::TOpenMode::ReadOnly);
    if (!failure.isEmpty())
        return failure;
    if (mSet.Table().TagOrder("DESCRIPT") > 0)
        mSet.Cursor().SelectTag("DESCRIPT");
    mUserDir = userDir;
    OpenOwn();
    return {};
}

void TLabelTemplates::OpenOwn()
{
    if (mOwn.Active())
        mOwn.Close();
    mOwnProblem.clear();
    if (mUserDir.isEmpty())
        return;
    const QString path =
        data::TSystemTables::FilePath(data::TSystemTable::UserLabelTemplates, mUserDir);
    if (!QFileInfo(path).isFile())
        return;
    try {
        mOwn.Open(path, xbase::TOpenMode::ReadOnly);
        if (mOwn.Table().TagOrder("DESCRIPT") > 0)
            mOwn.Cursor().SelectTag("DESCRIPT");
    } catch (const xbase::TXbaseError& error) {
        mOwnProblem = data::TErrorReason::WithReason(
            QStringLiteral("Your own label sheets (LBLUSER.DBF) cannot be read"),
            data::TErrorReason::Of(error));
    } catch (const data::TDataSetError& error) {
        mOwnProblem = data::TErrorReason::WithReason(
            QStringLiteral("Your own label sheets (LBLUSER.DBF) cannot be read"), error.Message());
    }
    if (!mOwnProblem.isEmpty() && mOwn.Active())
        mOwn.Close();
}

void TLabelTemplates::CloseOwn()
{
    if (mOwn.Active())
        mOwn.Close();
}

void TLabelTemplates::ReopenOwn()
{
    if (mSet.Active())
        OpenOwn();
}

void TLabelTemplates::Close()
{
    if (mSet.Active())
        mSet.Close();
    if (mOwn.Active())
        mOwn.Close();
    mOwnProblem.clear();
}

namespace {

void Read(data::TDataSet& set, const QString& expression, bool own,
          std::vector<TLabelTemplates::TEntry>* out)
{
    const std::optional<QByteArray> query = data::TWin1252::Encode(expression);
    xbase::TCursor& cursor = set.Cursor();
    cursor.SetQuery(query ? std::string_view(query->constData(), size_t(query->size()))
                          : std::string_view());
    try {
        for (set.First(); !set.Eof() && !set.IsEmpty(); set.Next())
            out->push_back({set.AsString(kDescript), own});
    } catch (...) {
        cursor.ClearQuery();
        throw;
    }
    cursor.ClearQuery();
}

} // namespace

std::vector<TLabelTemplates::TEntry> TLabelTemplates::Entries(const QString& expression)
{
    std::vector<TEntry> shipped;
    if (!mSet.Active())
        return shipped;
    Read(mSet, expression, false, &shipped);
    if (!mOwn.Active())
        return shipped;

    std::vector<TEntry> own;
    QSet<QString> replaced;
    try {
        Read(mOwn, expression, true, &own);
        std::vector<TEntry> all;
        Read(mOwn, QString(), true, &all);
        for (const TEntry& entry : all)
            replaced.insert(entry.description);
    } catch (const xbase::TXbaseError&) {
        // The expression was good for the shipped table, so the user's table is at fault: list
        // the shipped rows and say so.
        mOwnProblem = QStringLiteral("Your own label sheets (LBLUSER.DBF) cannot be read");
        return shipped;
    }

    // Both lists are in tag order: merge them by key, the user's row first on equal keys.
    std::vector<TEntry> merged;
    merged.reserve(shipped.size() + own.size());
    size_t s = 0;
    size_t o = 0;
    while (s < shipped.size() || o < own.size()) {
        if (s < shipped.size() && replaced.contains(shipped[s].description)) {
            ++s;
            continue;
        }
        const bool takeOwn =
            o < own.size() &&
            (s >= shipped.size() || !(Key(shipped[s].description) < Key(own[o].description)));
        merged.push_back(takeOwn ? own[o++] : shipped[s++]);
    }
    return merged;
}

QStringList TLabelTemplates::Matching(const QString& expression)
{
    QStringList descriptions;
    for (const TEntry& entry : Entries(expression))
        descriptions << entry.description;
    return descriptions;
}

namespace {

// Moves to the row with exactly this description through the DESCRIPT tag (or, without one,
// by reading every row). Returns whether there is one.
bool Locate(data::TDataSet& set, const QString& description)
{
    if (!set.Active())
        return false;
    xbase::TCursor& cursor = set.Cursor();
    if (set.Table().TagOrder("DESCRIPT") > 0 && cursor.Order() > 0) {
        const std::optional<QByteArray> key =
            data::TWin1252::Encode(data::TWin1252::Upper(description));
        if (!key)
            return false;
        bool found = false;
        {
            const xbase::TSettingScope exact(&xbase::TEngineSettings::exact, true);
            found = cursor.Seek(std::string_view(key->constData(), size_t(key->size())));
        }
        if (!found)
            return false;
        set.Resync();
        // Rows whose descriptions differ only in letter case share the key.
        for (; !set.Eof() && !set.IsEmpty(); set.Next()) {
            const QString text = set.AsString(kDescript);
            if (text == description)
                return true;
            if (data::TWin1252::Upper(text) != data::TWin1252::Upper(description))
                return false;
        }
        return false;
    }
    for (set.First(); !set.Eof() && !set.IsEmpty(); set.Next())
        if (set.AsString(kDescript) == description)
            return true;
    return false;
}

} // namespace

std::optional<TLabelGeometry> TLabelTemplates::Find(const QString& description, QString* problem)
{
    for (data::TDataSet* set : {&mOwn, &mSet}) {
        if (!Locate(*set, description))
            continue;
        TLabelGeometry g;
        const QString why = TLabelRow::ReadTemplate(*set, &g);
        if (problem)
            *problem = why;
        return g;
    }
    return std::nullopt;
}

QStringList TLabelTemplates::Makers()
{
    static const QSet<QString> named = {QStringLiteral("AVERY"), QStringLiteral("COSTAR"),
                                        QStringLiteral("NEBS"), QStringLiteral("USER")};
    QStringList makers;
    QSet<QString> seen;
    for (data::TDataSet* set : {&mSet, &mOwn}) {
        if (!set->Active())
            continue;
        for (set->First(); !set->Eof() && !set->IsEmpty(); set->Next()) {
            const QString maker = set->AsString(QStringLiteral("MANUFAC")).trimmed();
            const QString upper = maker.toUpper();
            if (maker.isEmpty() || named.contains(upper) || seen.contains(upper))
                continue;
            seen.insert(upper);
            makers << maker;
        }
    }
    std::sort(makers.begin(), makers.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return makers;
}

} // namespace qm::labels
