#pragma once

// "Select Field": the display labels of the offered fields (string fields for a field object,
// memo fields for a memo object). The entry equal to the object's label is pre-selected, else
// the first. SelectedLabel() is the choice after Ok (empty when the list is empty).

#include <QDialog>
#include <QStringList>

class QListWidget;

namespace qm::design {

class TDesignDialogButtons;

class TSelectFieldDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1202;

    TSelectFieldDialog(const QStringList& labels, const QString& current,
                       QWidget* parent = nullptr);

    QString SelectedLabel() const;
    QListWidget* FieldList() const { return mFieldList; }
    TDesignDialogButtons* Buttons() const { return mButtons; }

private:
    QListWidget* mFieldList;
    TDesignDialogButtons* mButtons;
};

} // namespace qm::design
