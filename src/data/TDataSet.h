#pragma once

// The data set every window binds to: one open table with its field objects, a current record,
// the states browse, edit and insert, and the events windows react to.
//
// Contract:
// - Field objects are declared before Open(). Every declared stored field must exist in the file
//   (else TDataSetError naming it, and the table stays closed), of its required type when one was
//   declared (else TDataSetError naming the field, its type and the type expected; the table stays
//   closed and nothing is written); each takes the file's width. A data
//   set with no declared fields takes every field of the file, labelled with its name.
// - Values are QString at this edge; the table holds Windows-1252. A value the code page cannot
//   hold is refused by SetAsString with a TDataSetError naming the character; nothing is replaced.
// - Edits are pending in the data set until Post(): the table is written only by Post, so Cancel
//   leaves the file untouched and a crash between posts loses only the unposted record.
// - Movement follows desktop data sets, not raw xBase: Next() on the last shown record stays on it
//   with Eof() true, Prior() on the first stays with Bof() true; an empty view has both true and
//   RecNo() 0.
// - Calculated fields are computed by the owner's callback after every fetch of a record (open,
//   scroll, post, cancel) and after every field change while editing.
// - Events (signals) are emitted after the change they name. While controls are disabled
//   (DisableControls, counted), DataChanged and StateChanged are held back and one DataChanged is
//   sent when the last EnableControls() comes.
// - Engine errors propagate as xbase::TXbaseError; the data set stays usable after them.

#include "data/TDataField.h"
#include "xbase/TTable.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

namespace qm::xbase {
class TCursor;
}

namespace qm::data {

class TDataSetError : public std::runtime_error {
public:
    explicit TDataSetError(const QString& message);
    QString Message() const { return mMessage; }

private:
    QString mMessage;
};

enum class TDataState { Inactive, Browse, Edit, Insert };

class TDataSet : public QObject {
    Q_OBJECT
public:
    using TCalcFields = std::function<void(TDataSet&)>;

    explicit TDataSet(QObject* parent = nullptr);
    ~TDataSet() override;

    // --- field objects ---
    TDataField& AddStoredField(const QString& name, const QString& displayLabel,
                               bool visible = true,
                               std::optional<xbase::TFieldType> requiredType = std::nullopt);
    TDataField& AddCalculatedField(const QString& name, const QString& displayLabel, bool visible,
                                   TDataFieldType type, int size);
    const std::vector<std::unique_ptr<TDataField>>& Fields() const { return mFields; }
    TDataField* FindField(const QString& name) const;   // any letter case
    TDataField& FieldByName(const QString& name) const; // TDataSetError when missing

    // --- open and close ---
    // Throws TDataSetError for a declared field missing from the file or not of its required
    // type, xbase::TXbaseError for
    // engine failures (missing file, in use, damaged). Lands on the first shown record.
    void Open(const QString& path, xbase::TOpenMode mode = xbase::TOpenMode::Exclusive);
    // The same with every engine option (opening without the index, a test's file layer).
    void Open(const QString& path, const xbase::TTableOptions& options);
    // Cancels a pending edit and closes the table.
    void Close();
    bool Active() const { return mTable != nullptr; }
    const QString& Path() const { return mPath; }
    xbase::TTable& Table() const;
    xbase::TCursor& Cursor() const;

    TDataState State() const { return mState; }
    bool Editing() const { return mState == TDataState::Edit || mState == TDataState::Insert; }

    // --- movement ---
    void First();
    void Last();
    void Next();
    void Prior();
    void MoveBy(int distance);
    // Goes to a record by number whether or not the query shows it.
    void GoTo(uint32_t recNo);
    bool Eof() const { return mEof; }
    bool Bof() const { return mBof; }
    bool IsEmpty() const { return mRecNo == 0; }
    uint32_t RecNo() const { return mRecNo; }
    // Takes the position the cursor has now (after an order change, a seek or a query set
    // through the engine) and fetches it; an empty view or past-the-end goes to the first shown.
    void Resync();

    // --- values ---
    QString AsString(const QString& field) const;
    bool AsBoolean(const QString& field) const;
    void SetAsString(const QString& field, const QString& value);
    void SetAsBoolean(const QString& field, bool value);
    // Only for the calculated-fields callback.
    void SetCalculatedValue(const QString& field, const QVariant& value);
    void SetOnCalcFields(TCalcFields callback);
    void RecalculateFields();

    // --- changes ---
    void Edit();
    // Insert state on a blank record that reaches the file only with Post().
    void Append();
    void Post();
    void Cancel();

    // Sets or clears the engine's deletion mark on the current record (written at once).
    void MarkDeleted(bool deleted);
    bool MarkedDeleted() const;

    // --- bound controls ---
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return mDisabled > 0; }

signals:
    void AfterOpen();
    void AfterClose();
    void AfterScroll();
    void AfterEdit();
    void AfterInsert();
    void AfterPost();
    void AfterCancel();
    // The shown values changed (movement, post, cancel, a field set while editing).
    void DataChanged();
    void StateChanged();

private:
    void Require(bool condition, const char* what) const;
    void EnsurePositioned() const;
    void TakeCursorPosition();
    void Fetched();
    void SetState(TDataState state);
    void NotifyData();
    QString StoredValue(const TDataField& field) const;
    void WritePending();

    std::vector<std::unique_ptr<TDataField>> mFields;
    bool mImplicitFields = false;
    std::unique_ptr<xbase::TTable> mTable;
    std::unique_ptr<xbase::TCursor> mCursor;
    QString mPath;
    TDataState mState = TDataState::Inactive;
    uint32_t mRecNo = 0;
    bool mEof = true;
    bool mBof = true;
    uint32_t mRecNoBeforeInsert = 0;
    QHash<int, QString> mPending;         // engine field index -> value while editing
    QHash<QString, QVariant> mCalculated; // upper-case name -> value
    TCalcFields mOnCalcFields;
    int mDisabled = 0;
    bool mDataChangedHeld = false;
};

} // namespace qm::data
