#include "design/ui/TGKindMenus.h"

#include "design/objects/TGCounterLabel.h"
#include "design/objects/TGDMultiLineAddressLabel.h"
#include "design/objects/TGDMultiLineLabel.h"
#include "design/objects/TGDateTimeLabel.h"
#include "design/objects/TGFIMBarCode.h"
#include "design/objects/TGIMBarCode.h"
#include "design/objects/TGImage.h"
#include "design/objects/TGLabelShapes.h"
#include "design/objects/TGLineShape.h"
#include "design/objects/TGMultiLineLabel.h"
#include "design/objects/TGPDLabel.h"
#include "design/objects/TGPLabel.h"
#include "design/objects/TGPageNumberLabel.h"
#include "design/objects/TGSymbolLabel.h"
#include "design/objects/Trpshapes.h"
#include "design/ui/TImageObjectMenu.h"
#include "design/ui/TImbPropertiesDialog.h"
#include "design/ui/TShapeObjectMenu.h"
#include "design/ui/TTextObjectMenu.h"

#include <QMenu>

namespace qm::design {

namespace {

void AddImbEntries(QMenu& menu, TGIMBarCode& code, QWidget* parent)
{
    menu.addSeparator();
    QAction* action = menu.addAction(QStringLiteral("Barcode Properties..."));
    action->setObjectName(QStringLiteral("ImbPropertiesEntry"));
    QObject::connect(action, &QAction::triggered, action,
                     [&code, parent] { TImbPropertiesDialog::Edit(code, parent); });
}

// Attaches entries and dialog written for class T to the kind named className (T itself or a
// kind derived from it); the catalogue hands them only objects of that kind.
template <class T>
void Attach(const char* className, TGKindMenu menu, void (*entries)(QMenu&, T&, QWidget*),
            bool (*properties)(T&, QWidget*) = nullptr)
{
    TGKind::TProperties dialog;
    if (properties != nullptr)
        dialog = [properties](TGGraphicControl& object, QWidget* parent) {
            return properties(static_cast<T&>(object), parent);
        };
    TGKindCatalogue::AttachEditing(
        className, menu,
        [entries](QMenu& m, TGGraphicControl& object, QWidget* parent) {
            entries(m, static_cast<T&>(object), parent);
        },
        std::move(dialog));
}

} // namespace

void TGKindMenus::Install()
{
    static const bool installed = [] {
        using Text = TTextObjectMenu;
        using Shape = TShapeObjectMenu;
        const TGKindMenu text = TGKindMenu::Text;
        const TGKindMenu shape = TGKindMenu::Shape;
        // One line per kind that has entries of its own (the POSTNET barcode has none).
        Attach<TGPLabel>(TGPLabel::kClassName, text, &Text::AddTextEntries, &Text::EditText);
        Attach<TGPDLabel>(TGPDLabel::kClassName, text, &Text::AddFieldEntries, &Text::EditField);
        Attach<TGCounterLabel>(TGCounterLabel::kClassName, text, &Text::AddCounterEntries,
                               &Text::EditCounter);
        Attach<TGSymbolLabel>(TGSymbolLabel::kClassName, text, &Text::AddSymbolEntries,
                              &Text::EditSymbol);
        Attach<TGDateTimeLabel>(TGDateTimeLabel::kClassName, text, &Text::AddDateTimeEntries);
        Attach<TGPageNumberLabel>(TGPageNumberLabel::kClassName, text, &Text::AddPageNumberEntries);
        Attach<TGMultiLineLabel>(TGMultiLineLabel::kClassName, text, &Text::AddLinesEntries,
                                 &Text::EditLines);
        Attach<TGDMultiLineLabel>(TGDMultiLineLabel::kClassName, text, &Text::AddMemoEntries,
                                  &Text::EditMemoField);
        Attach<TGDMultiLineAddressLabel>(TGDMultiLineAddressLabel::kClassName, text,
                                         &Text::AddAddressEntries, &Text::EditAddressLayout);
        Attach<TGLabelShapes>(TGLabelShapes::kClassName, shape, &Shape::AddShapeEntries);
        Attach<TGLabelShapes>(Trpshapes::kClassName, shape, &Shape::AddShapeEntries);
        Attach<TGLineShape>(TGLineShape::kClassName, shape, &Shape::AddLineEntries);
        Attach<TGFIMBarCode>(TGFIMBarCode::kClassName, shape, &Shape::AddFIMEntries);
        Attach<TGIMBarCode>(TGIMBarCode::kClassName, shape, &AddImbEntries,
                            &TImbPropertiesDialog::Edit);
        Attach<TGImage>(TGImage::kClassName, TGKindMenu::Image, &TImageObjectMenu::AddImageEntries,
                        &TImageObjectMenu::LoadImage);
        return true;
    }();
    (void)installed;
}

void TGKindMenus::AddEntries(QMenu& menu, TGGraphicControl& object, QWidget* parent,
                             TGKindMenu only)
{
    Install();
    const TGKind* kind = TGKindCatalogue::Find(object.ClassName());
    if (kind == nullptr || !kind->menuEntries)
        return;
    if (only != TGKindMenu::None && kind->menu != only)
        return;
    kind->menuEntries(menu, object, parent);
}

bool TGKindMenus::EditProperties(TGGraphicControl& object, QWidget* parent)
{
    Install();
    const TGKind* kind = TGKindCatalogue::Find(object.ClassName());
    return kind != nullptr && kind->properties && kind->properties(object, parent);
}

bool TGKindMenus::HasProperties(const TGGraphicControl& object)
{
    Install();
    const TGKind* kind = TGKindCatalogue::Find(object.ClassName());
    return kind != nullptr && bool(kind->properties);
}

} // namespace qm::design
