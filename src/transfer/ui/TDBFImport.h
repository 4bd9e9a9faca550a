#pragma once

// "DBF File Import": appends records from another table. Like the ASCII import it holds the
// address file open exclusively in its own data set, labelled as the main window labels it. The
// chosen table is opened read-only (a missing or foreign index does not matter); the matching
// window is preset from field names on its first opening after a table was chosen and shows the
// last accepted matches afterwards.

#include "transfer/TDbfSourceTable.h"
#include "transfer/TFieldMatch.h"
#include "transfer/ui/TImportWindow.h"

#include "data/TDataSet.h"

namespace qm::transfer {

class TDBFMatch;

class TDBFImport : public TImportWindow {
public:
    static constexpr int kHelpContext = 1062;

    TDBFImport(const TFieldMatch::TLabelOf& labels, QWidget* parent = nullptr);
    ~TDBFImport() override;

    bool OpenAddressFile(const QString& path);
    const TFieldMatch& Match() const { return mMatch; }
    void SetMatchHook(std::function<int(TDBFMatch&)> hook) { mMatchHook = std::move(hook); }

    void SelectFileClick() override;

protected:
    xbase::TTable& Target() override { return mDataSet.Table(); }
    std::unique_ptr<TImportSource> MakeSource() override;
    TImportKind Kind() const override { return TImportKind::Dbf; }
    void MatchButtonClick() override;

private:
    data::TDataSet mDataSet;
    TFieldMatch::TLabelOf mLabels;
    QString mAddressPath;
    QString mPath;
    std::unique_ptr<TDbfSourceTable> mSource;
    TFieldMatch mMatch;
    bool mMatchedBefore = false;
    std::function<int(TDBFMatch&)> mMatchHook;
};

} // namespace qm::transfer
