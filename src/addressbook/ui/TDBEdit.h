#pragma once

// An entry field bound to a field of a data set. It shows the current record's value, is
// read-only unless the data set is editing, and writes what the user types into the pending
// record. Text the address file cannot hold is refused where it is typed, with a message naming
// the character. Enter moves to the next field; with the insert toggle off a typed character
// replaces the one at the caret.

#include <QLineEdit>
#include <functional>

namespace qm::data {
class TDataSource;
}

namespace qm::addressbook {

class TDBEdit : public QLineEdit {
public:
    TDBEdit(data::TDataSource& source, QString field, QWidget* parent = nullptr);

    const QString& FieldName() const { return mField; }
    void SetUpperCase(bool upper) { mUpperCase = upper; }
    // Reads the value shown from the data set again.
    void Refresh();

    // The insert toggle shared by every entry field (Insert key); off at start.
    static bool InsertMode();
    static void SetInsertMode(bool on);

    // Called when the user double-clicks the field while it cannot be edited.
    std::function<void()> onStartEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void TextEdited(const QString& text);

    data::TDataSource& mSource;
    QString mField;
    QString mShown;
    bool mUpperCase = false;
};

} // namespace qm::addressbook
