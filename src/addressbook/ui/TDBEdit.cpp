#include "addressbook/ui/TDBEdit.h"

#include "data/TDataSet.h"
#include "data/TDataSource.h"
#include "data/TMessageService.h"
#include "data/TWin1252.h"

#include <QKeyEvent>

namespace qm::addressbook {
namespace {

bool gInsertMode = false;

} // namespace

bool TDBEdit::InsertMode()
{
    return gInsertMode;
}

void TDBEdit::SetInsertMode(bool on)
{
    gInsertMode = on;
}

TDBEdit::TDBEdit(data::TDataSource& source, QString field, QWidget* parent)
    : QLineEdit(parent), mSource(source), mField(std::move(field))
{
    setObjectName(QStringLiteral("Edit") + mField);
    connect(&source, &data::TDataSource::DataChanged, this, &TDBEdit::Refresh);
    connect(&source, &data::TDataSource::StateChanged, this, &TDBEdit::Refresh);
    connect(this, &QLineEdit::textEdited, this, &TDBEdit::TextEdited);
    Refresh();
}

void TDBEdit::Refresh()
{
    data::TDataSet* ds = mSource.DataSet();
    const bool active = ds && ds->Active();
    const data::TDataField* field = active ? ds->FindField(mField) : nullptr;
    const QString value = field ? ds->AsString(mField) : QString();
    const int size = field && !field->Calculated() ? field->Size() : 0;
    // Setting the limit sets the text again, which forgets what Undo could take back: only when
    // it changes (another file).
    if (const int limit = size > 0 ? std::max<int>(size, int(value.size())) : 32767;
        limit != maxLength())
        setMaxLength(limit);
    setReadOnly(!active || !ds->Editing() || (field && field->Calculated()));
    if (value != text())
        setText(value);
    mShown = value;
}

void TDBEdit::TextEdited(const QString& typed)
{
    data::TDataSet* ds = mSource.DataSet();
    if (!ds || !ds->Editing())
        return;
    QString value = mUpperCase ? data::TWin1252::Upper(typed) : typed;
    QChar bad;
    if (!data::TWin1252::CanEncode(value, &bad)) {
        const int caret = std::max(0, cursorPosition() - 1);
        setText(mShown);
        setCursorPosition(std::min<int>(caret, int(mShown.size())));
        data::TMessageService::Inform(
            this,
            QStringLiteral("The character \"%1\" cannot be stored in an address file.").arg(bad));
        return;
    }
    if (value != typed) {
        const int caret = cursorPosition();
        setText(value);
        setCursorPosition(caret);
    }
    mShown = value;
    ds->SetAsString(mField, value);
}

void TDBEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
        SetInsertMode(!InsertMode());
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            focusNextChild();
            return;
        }
    }
    if (!InsertMode() && !isReadOnly() && !event->text().isEmpty() && event->text()[0].isPrint() &&
        !hasSelectedText() && cursorPosition() < text().size() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        // Overtype: the character at the caret is replaced by the one typed.
        setSelection(cursorPosition(), 1);
    }
    QLineEdit::keyPressEvent(event);
}

void TDBEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (isReadOnly() && onStartEdit)
        onStartEdit();
    QLineEdit::mouseDoubleClickEvent(event);
}

} // namespace qm::addressbook
