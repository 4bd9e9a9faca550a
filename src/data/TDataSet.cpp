#include "data/TDataSet.h"

#include "data/TWin1252.h"
#include "xbase/TCursor.h"

#include <utility>

namespace qm::data {
namespace {

using xbase::TFieldType;

TDataFieldType TypeOf(TFieldType type)
{
    switch (type) {
    case TFieldType::Numeric:
    case TFieldType::Float:
        return TDataFieldType::Numeric;
    case TFieldType::Logical:
        return TDataFieldType::Logical;
    case TFieldType::Date:
        return TDataFieldType::Date;
    case TFieldType::Memo:
        return TDataFieldType::Memo;
    default:
        return TDataFieldType::String;
    }
}

// "C (character)": the type letter the file stores, with its name.
QString TypeName(TFieldType type)
{
    static constexpr std::pair<TFieldType, const char*> kNames[] = {
        {TFieldType::Character, "character"}, {TFieldType::Numeric, "numeric"},
        {TFieldType::Float, "float"},         {TFieldType::Logical, "logical"},
        {TFieldType::Date, "date"},           {TFieldType::Memo, "memo"},
        {TFieldType::Integer, "integer"},     {TFieldType::Currency, "currency"},
        {TFieldType::DateTime, "date-time"},  {TFieldType::Double, "double"},
        {TFieldType::General, "general"},     {TFieldType::Picture, "picture"},
        {TFieldType::VarChar, "varchar"},     {TFieldType::VarBinary, "varbinary"},
        {TFieldType::Blob, "blob"},
    };
    const char* name = "unknown";
    for (const auto& [known, text] : kNames)
        if (known == type)
            name = text;
    return QStringLiteral("%1 (%2)").arg(QChar::fromLatin1(char(type)), QLatin1String(name));
}

QString Decode(std::string_view bytes)
{
    return TWin1252::Decode(bytes.data(), qsizetype(bytes.size()));
}

bool IsTrue(const QString& text)
{
    const QString t = text.trimmed().toUpper();
    return t == QLatin1String("T") || t == QLatin1String("Y") || t == QLatin1String("TRUE") ||
           t == QLatin1String("YES");
}

} // namespace

TDataSetError::TDataSetError(const QString& message)
    : std::runtime_error(message.toStdString()), mMessage(message)
{
}

TDataSet::TDataSet(QObject* parent) : QObject(parent) {}

TDataSet::~TDataSet()
{
    try {
        Close();
    } catch (...) {
        // Closing on destruction must not throw; the table's own destructor commits what it can.
    }
}

TDataField& TDataSet::AddStoredField(const QString& name, const QString& displayLabel, bool visible,
                                     std::optional<xbase::TFieldType> requiredType)
{
    mFields.push_back(std::make_unique<TDataField>(name, displayLabel, visible, false));
    mFields.back()->SetRequiredType(requiredType);
    return *mFields.back();
}

TDataField& TDataSet::AddCalculatedField(const QString& name, const QString& displayLabel,
                                         bool visible, TDataFieldType type, int size)
{
    mFields.push_back(std::make_unique<TDataField>(name, displayLabel, visible, true, type, size));
    return *mFields.back();
}

TDataField* TDataSet::FindField(const QString& name) const
{
    for (const auto& field : mFields)
        if (field->Name().compare(name, Qt::CaseInsensitive) == 0)
            return field.get();
    return nullptr;
}

TDataField& TDataSet::FieldByName(const QString& name) const
{
    TDataField* field = FindField(name);
    if (!field)
        throw TDataSetError(QStringLiteral("Field '%1' not found").arg(name));
    return *field;
}

xbase::TTable& TDataSet::Table() const
{
    Require(Active(), "an open table");
    return *mTable;
}

xbase::TCursor& TDataSet::Cursor() const
{
    Require(Active(), "an open table");
    return *mCursor;
}

void TDataSet::Require(bool condition, const char* what) const
{
    if (!condition)
        throw TDataSetError(QStringLiteral("This needs %1").arg(QLatin1String(what)));
}

void TDataSet::Open(const QString& path, xbase::TOpenMode mode)
{
    xbase::TTableOptions options;
    options.mode = mode;
    Open(path, options);
}

void TDataSet::Open(const QString& path, const xbase::TTableOptions& options)
{
    Close();
    auto table = xbase::TTable::Open(path.toStdString(), options);

    if (mFields.empty() || mImplicitFields) {
        mFields.clear();
        mImplicitFields = true;
        for (const auto& info : table->Fields())
            AddStoredField(QString::fromStdString(info.name), QString::fromStdString(info.name));
    }
    for (const auto& field : mFields) {
        if (field->Calculated())
            continue;
        const int index = table->FieldIndex(field->Name().toStdString());
        const auto refuse = [&](const QString& why) {
            table->Close();
            for (const auto& f : mFields)
                f->Unbind();
            throw TDataSetError(why);
        };
        if (index < 0)
            refuse(QStringLiteral("The field %1 is missing from %2").arg(field->Name(), path));
        const auto& info = table->Fields()[size_t(index)];
        if (field->RequiredType() && info.type != *field->RequiredType())
            refuse(QStringLiteral("The field %1 in %2 is of type %3; type %4 is expected")
                       .arg(field->Name(), path, TypeName(info.type),
                            TypeName(*field->RequiredType())));
        field->Bind(index, TypeOf(info.type), info.length);
    }

    mTable = std::move(table);
    mCursor = std::make_unique<xbase::TCursor>(*mTable);
    mPath = path;
    mState = TDataState::Browse;
    mCursor->GoTop();
    TakeCursorPosition();
    mBof = true;
    emit AfterOpen();
    Fetched();
    emit StateChanged();
}

void TDataSet::Close()
{
    if (!Active())
        return;
    mPending.clear();
    mCursor.reset();
    std::unique_ptr<xbase::TTable> table = std::move(mTable);
    mState = TDataState::Inactive;
    mRecNo = 0;
    mEof = mBof = true;
    mCalculated.clear();
    for (const auto& field : mFields)
        field->Unbind();
    mPath.clear();
    table->Close();
    emit AfterClose();
    NotifyData();
    if (!ControlsDisabled())
        emit StateChanged();
}

void TDataSet::EnsurePositioned() const
{
    // Other cursors over the same table (grids, checks) move the table's one record buffer.
    if (mRecNo != 0 && mTable && mTable->RecNo() != mRecNo)
        const_cast<xbase::TCursor&>(*mCursor).Go(mRecNo);
}

void TDataSet::TakeCursorPosition()
{
    if (mCursor->Eof()) {
        mRecNo = 0;
        mEof = mBof = true;
        return;
    }
    mRecNo = mCursor->RecNo();
    mEof = false;
    mBof = false;
}

void TDataSet::Fetched()
{
    RecalculateFields();
    emit AfterScroll();
    NotifyData();
}

void TDataSet::NotifyData()
{
    if (ControlsDisabled()) {
        mDataChangedHeld = true;
        return;
    }
    emit DataChanged();
}

void TDataSet::SetState(TDataState state)
{
    mState = state;
    if (!ControlsDisabled())
        emit StateChanged();
}

void TDataSet::First()
{
    Require(Active(), "an open table");
    if (Editing())
        Post();
    mCursor->GoTop();
    TakeCursorPosition();
    mBof = true;
    Fetched();
}

void TDataSet::Last()
{
    Require(Active(), "an open table");
    if (Editing())
        Post();
    mCursor->GoBottom();
    TakeCursorPosition();
    mEof = true;
    Fetched();
}

void TDataSet::MoveBy(int distance)
{
    Require(Active(), "an open table");
    if (Editing())
        Post();
    if (mRecNo == 0) {
        mEof = mBof = true;
        return;
    }
    EnsurePositioned();
    mCursor->Skip(distance);
    if (mCursor->Eof()) {
        mCursor->GoBottom();
        TakeCursorPosition();
        mEof = true;
    } else if (mCursor->Bof()) {
        TakeCursorPosition();
        mBof = true;
    } else {
        TakeCursorPosition();
    }
    Fetched();
}

void TDataSet::Next()
{
    MoveBy(1);
}

void TDataSet::Prior()
{
    MoveBy(-1);
}

void TDataSet::GoTo(uint32_t recNo)
{
    Require(Active(), "an open table");
    if (Editing())
        Post();
    mCursor->Go(recNo);
    TakeCursorPosition();
    Fetched();
}

void TDataSet::Resync()
{
    Require(Active(), "an open table");
    if (mCursor->Eof())
        mCursor->GoTop();
    TakeCursorPosition();
    Fetched();
}

QString TDataSet::StoredValue(const TDataField& field) const
{
    const int index = field.EngineIndex();
    if (index < 0 || mRecNo == 0)
        return {};
    switch (field.Type()) {
    case TDataFieldType::Memo:
        return Decode(mTable->GetMemo(index));
    case TDataFieldType::Logical:
        return mTable->GetLogical(index) ? QStringLiteral("T") : QStringLiteral("F");
    case TDataFieldType::Numeric:
        return Decode(mTable->GetTrimmed(index)).trimmed();
    default:
        return Decode(mTable->GetTrimmed(index));
    }
}

QString TDataSet::AsString(const QString& name) const
{
    const TDataField& field = FieldByName(name);
    if (field.Calculated()) {
        const QVariant value = mCalculated.value(field.Name().toUpper());
        if (field.Type() == TDataFieldType::Logical)
            return value.toBool() ? QStringLiteral("Yes") : QStringLiteral("No");
        return value.toString();
    }
    if (!Active())
        return {};
    if (Editing()) {
        const auto pending = mPending.constFind(field.EngineIndex());
        if (pending != mPending.constEnd())
            return *pending;
        if (mState == TDataState::Insert)
            return field.Type() == TDataFieldType::Logical ? QStringLiteral("F") : QString();
    }
    EnsurePositioned();
    return StoredValue(field);
}

bool TDataSet::AsBoolean(const QString& name) const
{
    const TDataField& field = FieldByName(name);
    if (field.Calculated())
        return mCalculated.value(field.Name().toUpper()).toBool();
    return IsTrue(AsString(name));
}

void TDataSet::SetAsString(const QString& name, const QString& value)
{
    const TDataField& field = FieldByName(name);
    if (field.Calculated())
        throw TDataSetError(QStringLiteral("The field %1 is calculated").arg(field.Name()));
    Require(Editing(), "a record being edited");
    QChar bad;
    if (!TWin1252::CanEncode(value, &bad))
        throw TDataSetError(
            QStringLiteral("The character \"%1\" (U+%2) cannot be stored in an address file")
                .arg(bad)
                .arg(QString::number(bad.unicode(), 16)
                         .toUpper()
                         .rightJustified(4, QLatin1Char('0'))));
    QString stored = value;
    if (field.Type() != TDataFieldType::Memo && field.Size() > 0 && stored.size() > field.Size())
        stored.truncate(field.Size());
    mPending.insert(field.EngineIndex(), stored);
    RecalculateFields();
    NotifyData();
}

void TDataSet::SetAsBoolean(const QString& name, bool value)
{
    SetAsString(name, value ? QStringLiteral("T") : QStringLiteral("F"));
}

void TDataSet::SetCalculatedValue(const QString& name, const QVariant& value)
{
    const TDataField& field = FieldByName(name);
    QVariant stored = value;
    if (field.Type() == TDataFieldType::String && field.Size() > 0) {
        QString text = value.toString();
        if (text.size() > field.Size())
            text.truncate(field.Size());
        stored = text;
    }
    mCalculated.insert(field.Name().toUpper(), stored);
}

void TDataSet::SetOnCalcFields(TCalcFields callback)
{
    mOnCalcFields = std::move(callback);
    RecalculateFields();
}

void TDataSet::RecalculateFields()
{
    mCalculated.clear();
    if (mOnCalcFields && Active())
        mOnCalcFields(*this);
}

void TDataSet::Edit()
{
    Require(Active(), "an open table");
    if (Editing())
        return;
    Require(mRecNo != 0, "a current record");
    EnsurePositioned();
    mPending.clear();
    SetState(TDataState::Edit);
    emit AfterEdit();
}

void TDataSet::Append()
{
    Require(Active(), "an open table");
    if (Editing())
        Post();
    mRecNoBeforeInsert = mRecNo;
    mPending.clear();
    SetState(TDataState::Insert);
    RecalculateFields();
    emit AfterInsert();
    NotifyData();
}

void TDataSet::WritePending()
{
    for (auto it = mPending.constBegin(); it != mPending.constEnd(); ++it) {
        const int index = it.key();
        const QByteArray bytes = *TWin1252::Encode(*it); // refused text never gets here
        const std::string_view view(bytes.constData(), size_t(bytes.size()));
        const auto type = mTable->Fields()[size_t(index)].type;
        if (type == xbase::TFieldType::Memo)
            mTable->PutMemo(index, view);
        else if (type == xbase::TFieldType::Logical)
            mTable->PutLogical(index, IsTrue(*it));
        else
            mTable->PutString(index, view);
    }
}

void TDataSet::Post()
{
    if (!Editing())
        return;
    if (mState == TDataState::Insert) {
        mTable->AppendBlank();
        WritePending();
        mTable->Post();
        mCursor->Go(mTable->RecNo());
    } else {
        EnsurePositioned();
        WritePending();
        mTable->Post();
    }
    mPending.clear();
    TakeCursorPosition();
    SetState(TDataState::Browse);
    RecalculateFields();
    emit AfterPost();
    NotifyData();
}

void TDataSet::Cancel()
{
    if (!Editing())
        return;
    const bool inserting = mState == TDataState::Insert;
    mPending.clear();
    SetState(TDataState::Browse);
    if (inserting && mRecNoBeforeInsert != 0)
        mCursor->Go(mRecNoBeforeInsert);
    EnsurePositioned();
    RecalculateFields();
    emit AfterCancel();
    NotifyData();
}

void TDataSet::MarkDeleted(bool deleted)
{
    Require(Active() && mRecNo != 0, "a current record");
    EnsurePositioned();
    mTable->SetDeleted(deleted);
}

bool TDataSet::MarkedDeleted() const
{
    if (!Active() || mRecNo == 0)
        return false;
    EnsurePositioned();
    return mTable->Deleted();
}

void TDataSet::DisableControls()
{
    ++mDisabled;
}

void TDataSet::EnableControls()
{
    if (mDisabled == 0)
        return;
    if (--mDisabled == 0) {
        emit StateChanged();
        if (mDataChangedHeld) {
            mDataChangedHeld = false;
            emit DataChanged();
        }
    }
}

} // namespace qm::data
