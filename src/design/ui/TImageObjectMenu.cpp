#include "design/ui/TImageObjectMenu.h"

#include "data/TMessageService.h"
#include "design/objects/TGImage.h"
#include "design/ui/TGKindMenus.h"
#include "design/ui/TLoadImageDialog.h"

#include <QDir>
#include <QMenu>

namespace qm::design {

namespace {

void Changed(TGImage& image)
{
    image.Invalidate();
    image.NotifyChanged();
}

} // namespace

void TImageObjectMenu::AddEntries(QMenu& menu, TGGraphicControl& object, QWidget* parent)
{
    TGKindMenus::AddEntries(menu, object, parent, TGKindMenu::Image);
}

void TImageObjectMenu::AddImageEntries(QMenu& menu, TGImage& picture, QWidget* parent)
{
    TGImage* image = &picture;
    menu.addSeparator();
    QAction* load = menu.addAction(QStringLiteral("Load Image From Disk"));
    QObject::connect(load, &QAction::triggered, load,
                     [image, parent] { LoadImage(*image, parent); });
    menu.addSeparator();
    QAction* stretch = menu.addAction(QStringLiteral("Stretch to Fit"));
    stretch->setCheckable(true);
    stretch->setChecked(image->Stretch());
    QObject::connect(stretch, &QAction::triggered, stretch, [image] { ToggleStretch(*image); });
    QAction* autoSize = menu.addAction(QStringLiteral("AutoSize"));
    autoSize->setCheckable(true);
    autoSize->setChecked(image->AutoSize());
    QObject::connect(autoSize, &QAction::triggered, autoSize, [image] { ToggleAutoSize(*image); });
}

bool TImageObjectMenu::LoadImage(TGImage& image, QWidget* parent)
{
    const QString current = QDir::currentPath();
    TLoadImageDialog dialog(image.Stretch(), image.AutoSize(), parent);
    const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.SelectedFile().isEmpty();
    if (accepted) {
        // AutoSize last, so that the object takes the new picture's size when it is on.
        image.SetStretch(dialog.Stretch());
        image.SetAutoSize(dialog.AutoSize());
        QString reason;
        if (!image.LoadFromFile(dialog.SelectedFile(), &reason))
            data::TMessageService::Inform(parent, TLoadImageDialog::ErrorText(reason));
        Changed(image);
    }
    QDir::setCurrent(current);
    return accepted;
}

void TImageObjectMenu::ToggleStretch(TGImage& image)
{
    image.SetStretch(!image.Stretch());
    Changed(image);
}

void TImageObjectMenu::ToggleAutoSize(TGImage& image)
{
    image.SetAutoSize(!image.AutoSize());
    Changed(image);
}

} // namespace qm::design
