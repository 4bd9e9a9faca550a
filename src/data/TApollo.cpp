#include "data/TApollo.h"

#include "data/TDataSet.h"
#include "data/TWin1252.h"
#include "xbase/TCompoundIndex.h"
#include "xbase/TCursor.h"
#include "xbase/TIndexTag.h"
#include "xbase/TSingleIndex.h"
#include "xbase/TXbaseError.h"

namespace qm::data {
namespace {

// Query and key texts come from the program or from what the user typed; a character the code
// page cannot hold can match nothing, so it is refused as a syntax error rather than replaced.
std::string Bytes(const QString& text)
{
    QChar bad;
    const auto bytes = TWin1252::Encode(text, &bad);
    if (!bytes)
        throw xbase::TXbaseError(xbase::TErrorKind::Syntax,
                                 "The character U+" +
                                     QString::number(bad.unicode(), 16)
                                         .toUpper()
                                         .rightJustified(4, QLatin1Char('0'))
                                         .toStdString() +
                                     " cannot be used here");
    return bytes->toStdString();
}

QString Text(const std::string& bytes)
{
    return TWin1252::Decode(bytes.data(), qsizetype(bytes.size()));
}

} // namespace

TApollo::TApollo(TDataSet& dataSet) : mDataSet(dataSet) {}

TApollo::~TApollo() = default;

void TApollo::SetQuery(const QString& expression)
{
    mDataSet.Cursor().SetQuery(Bytes(expression));
    mDataSet.First();
}

QString TApollo::Query() const
{
    if (!mDataSet.Active())
        return {};
    return Text(mDataSet.Cursor().Query());
}

QString TApollo::QueryTest(const QString& expression) const
{
    try {
        mDataSet.Cursor().TestQuery(Bytes(expression));
    } catch (const xbase::TXbaseError& error) {
        return QString::fromStdString(error.Message());
    }
    return {};
}

uint32_t TApollo::QueryRecCount() const
{
    if (!mDataSet.Active())
        return 0;
    const uint32_t recNo = mDataSet.RecNo();
    const uint32_t count = mDataSet.Cursor().Count();
    if (recNo != 0 && mDataSet.Table().RecNo() != recNo)
        mDataSet.Cursor().Go(recNo);
    return count;
}

int TApollo::TagArea(const QString& tag) const
{
    return mDataSet.Active() ? mDataSet.Table().TagOrder(Bytes(tag)) : 0;
}

void TApollo::SetOrder(int order)
{
    xbase::TCursor& cursor = mDataSet.Cursor();
    const uint32_t recNo = mDataSet.RecNo();
    cursor.SetOrder(order);
    if (recNo != 0)
        cursor.Go(recNo);
    mDataSet.Resync();
}

int TApollo::IndexOrd() const
{
    return mDataSet.Active() ? mDataSet.Cursor().Order() : 0;
}

QString TApollo::TagName(int order) const
{
    if (!mDataSet.Active() || order < 1 || order > mDataSet.Table().TagCount())
        return {};
    const xbase::TCompoundIndex* index = mDataSet.Table().Index();
    return index ? Text(const_cast<xbase::TCompoundIndex*>(index)->Tag(order).Name()) : QString();
}

int TApollo::TagCount() const
{
    return mDataSet.Active() ? mDataSet.Table().TagCount() : 0;
}

QString TApollo::IndexName() const
{
    return mDataSet.Active() ? QString::fromStdString(mDataSet.Table().IndexPath()) : QString();
}

bool TApollo::Seek(const QString& key)
{
    const bool found = mDataSet.Cursor().Seek(Bytes(key));
    if (!mDataSet.Cursor().Eof())
        mDataSet.GoTo(mDataSet.Cursor().RecNo());
    else
        mDataSet.Resync();
    return found;
}

bool TApollo::Found() const
{
    return mDataSet.Active() && mDataSet.Cursor().Found();
}

void TApollo::SetScope(const QString& top, const QString& bottom)
{
    mDataSet.Cursor().SetScope(Bytes(top), Bytes(bottom));
    mDataSet.First();
}

void TApollo::CreateExtraIndex(const QString& path, const QString& expression)
{
    CloseExtraIndex();
    mExtraIndex =
        xbase::TCursor::CreateSingleIndex(mDataSet.Table(), path.toStdString(), Bytes(expression));
}

bool TApollo::KeyAdd()
{
    if (!mExtraIndex)
        return false;
    return mDataSet.Cursor().AddKey(*mExtraIndex);
}

void TApollo::UseExtraIndexAsOrder()
{
    if (!mExtraIndex)
        return;
    mDataSet.Cursor().SetOrder(*mExtraIndex);
    mDataSet.First();
}

void TApollo::CloseExtraIndex()
{
    if (!mExtraIndex)
        return;
    if (mDataSet.Active() && mDataSet.Cursor().SingleIndexOrder() == mExtraIndex.get())
        mDataSet.Cursor().SetOrder(0);
    mExtraIndex.reset();
}

void TApollo::SetTurboRead(bool on)
{
    if (mDataSet.Active())
        mDataSet.Cursor().SetTurboRead(on);
}

xbase::TProgress TApollo::Progress() const
{
    if (!mGauge)
        return {};
    return [gauge = mGauge](int percent) { gauge(percent); };
}

void TApollo::Pack()
{
    mDataSet.Table().Pack(Progress());
    mDataSet.First();
}

void TApollo::Reindex()
{
    mDataSet.Table().Reindex(Progress());
    mDataSet.First();
}

void TApollo::Zap()
{
    mDataSet.Table().Zap();
    mDataSet.First();
}

} // namespace qm::data
