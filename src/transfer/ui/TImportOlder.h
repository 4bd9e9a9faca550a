#pragma once

// "Import Quillmark 1.x DBF" / "Import Quillmark 2.x DBF": appends the records of an address file
// of an earlier version, fields copied by name, straight into the main window's table (the main
// window hands it over with its filter cleared and its controls disabled).

#include "transfer/TDbfSourceTable.h"
#include "transfer/TOlderImportSource.h"
#include "transfer/ui/TImportWindow.h"

namespace qm::transfer {

class TImportOlder : public TImportWindow {
public:
    static constexpr int kHelpContext = 1064;

    // target: the main window's open address table; openPath: its file.
    TImportOlder(TOlderImportSource::TVersion version, xbase::TTable& target,
                 const QString& openPath, QWidget* parent = nullptr);
    ~TImportOlder() override;

    void SelectFileClick() override;

protected:
    xbase::TTable& Target() override { return mTarget; }
    std::unique_ptr<TImportSource> MakeSource() override;
    TImportKind Kind() const override { return TImportKind::Older; }

private:
    TOlderImportSource::TVersion mVersion;
    xbase::TTable& mTarget;
    QString mOpenPath;
    std::unique_ptr<TDbfSourceTable> mSource;
};

} // namespace qm::transfer
