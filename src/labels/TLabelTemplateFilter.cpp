#include "labels/TLabelTemplateFilter.h"

#include "data/TWin1252.h"

#include <algorithm>
#include <iterator>

namespace qm::labels {

const QStringList& TLabelTemplateFilter::ManufacturerItems()
{
    static const QStringList items = {
        QStringLiteral("Avery Laserjet"), QStringLiteral("Avery Inkjet"),
        QStringLiteral("Avery Dot Matrix"), QStringLiteral("Costar LabelPrinter")};
    return items;
}

const QStringList& TLabelTemplateFilter::ProductItems()
{
    static const QStringList items = {QStringLiteral("Address/Shipping Labels"),
                                      QStringLiteral("Card Products"),
                                      QStringLiteral("Diskette Labels"),
                                      QStringLiteral("File Folder Labels"),
                                      QStringLiteral("Index Products"),
                                      QStringLiteral("Miscellaneous"),
                                      QStringLiteral("All")};
    return items;
}

namespace {

int FindItem(const QStringList& items, const QString& text)
{
    for (int i = 0; i < items.size(); ++i)
        if (items[i].compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

int TLabelTemplateFilter::FindManufacturer(const QString& text)
{
    return FindItem(ManufacturerItems(), text);
}

int TLabelTemplateFilter::FindProduct(const QString& text)
{
    return FindItem(ProductItems(), text);
}

QStringList TLabelTemplateFilter::ManufacturerItems(const QStringList& makers)
{
    return ManufacturerItems() + makers + QStringList{QStringLiteral("All Manufacturers")};
}

int TLabelTemplateFilter::FindManufacturer(const QString& text, const QStringList& makers)
{
    return FindItem(ManufacturerItems(makers), text);
}

int TLabelTemplateFilter::MakerItem(const QString& maker, const QStringList& makers)
{
    for (int i = 0; i < makers.size(); ++i)
        if (makers[i].compare(maker.trimmed(), Qt::CaseInsensitive) == 0)
            return int(ManufacturerItems().size()) + i;
    return -1;
}

int TLabelTemplateFilter::ItemListing(const QString& maker, const QString& printer,
                                      const QStringList& makers)
{
    const int further = MakerItem(maker, makers);
    if (further >= 0)
        return further;
    const QString m = maker.trimmed().toUpper();
    const QString p = printer.trimmed().toUpper();
    const char* item = nullptr;
    if (m == QLatin1String("AVERY") && p == QLatin1String("LJ"))
        item = "Avery Laserjet";
    else if (m == QLatin1String("AVERY") && p == QLatin1String("IJ"))
        item = "Avery Inkjet";
    else if (m == QLatin1String("AVERY") && p == QLatin1String("DM"))
        item = "Avery Dot Matrix";
    else if (m == QLatin1String("COSTAR") && p == QLatin1String("LP"))
        item = "Costar LabelPrinter";
    return item ? FindManufacturer(QLatin1String(item)) : int(ManufacturerItems(makers).size()) - 1;
}

TLabelTemplateFilter::TStart TLabelTemplateFilter::StartFor(const QString& maker,
                                                            const QString& printer,
                                                            const QString& productGroup)
{
    TStart start;
    QString m = maker.trimmed().toUpper();
    QString p = printer.trimmed().toUpper();
    QString group = productGroup.trimmed();
    start.positionGrid = true;
    if (m == QLatin1String("USER")) {
        m = QStringLiteral("AVERY");
        p = QStringLiteral("LJ");
        group = QStringLiteral("ADDRESS/SHIPPING LABELS");
        start.positionGrid = false;
    }

    QString item = QStringLiteral("AVERY LASERJET");
    if (m == QLatin1String("AVERY")) {
        if (p == QLatin1String("IJ"))
            item = QStringLiteral("AVERY INKJET");
        else if (p == QLatin1String("DM"))
            item = QStringLiteral("AVERY DOT MATRIX");
    } else if (m == QLatin1String("COSTAR")) {
        item = QStringLiteral("COSTAR LABELPRINTER");
    } else if (m == QLatin1String("NEBS")) {
        // No item offers NEBS sheets: show Avery Laserjet as for any other maker and leave the
        // grid where the filter puts it.
        start.positionGrid = false;
    }
    start.manufacturer = std::max(FindManufacturer(item), 0);
    const int product = FindProduct(group);
    start.product = product < 0 ? AllProductsItem() : product;
    return start;
}

namespace {

// An xBase string holding the text, in the first of "", '' or [] that the text does not break.
QString StringLiteral(const QString& text)
{
    if (!text.contains(QLatin1Char('"')))
        return QLatin1Char('"') + text + QLatin1Char('"');
    if (!text.contains(QLatin1Char('\'')))
        return QLatin1Char('\'') + text + QLatin1Char('\'');
    return QLatin1Char('[') + QString(text).remove(QLatin1Char(']')) + QLatin1Char(']');
}

} // namespace

QString TLabelTemplateFilter::Expression() const
{
    QStringList terms;
    const int partItems = int(ManufacturerItems().size());
    if (mManufacturer >= partItems && mManufacturer < partItems + mMakers.size())
        terms << QStringLiteral(" UPPER(manufac)=%1 ")
                     .arg(StringLiteral(data::TWin1252::Upper(mMakers[mManufacturer - partItems])));
    const QString maker = ManufacturerItems().value(mManufacturer).toUpper();
    if (maker.contains(QLatin1String("AVERY")))
        terms << QStringLiteral(" UPPER(manufac)=\"AVERY\" ");
    else if (maker.contains(QLatin1String("NEBS")))
        terms << QStringLiteral(" UPPER(manufac)=\"NEBS\" ");
    else if (maker.contains(QLatin1String("COSTAR")))
        terms << QStringLiteral(" UPPER(manufac)=\"COSTAR\" ");

    if (maker.contains(QLatin1String("LASERJET")))
        terms << QStringLiteral(" UPPER(printer)=\"LJ\" ");
    else if (maker.contains(QLatin1String("INKJET")))
        terms << QStringLiteral(" UPPER(printer)=\"IJ\" ");
    else if (maker.contains(QLatin1String("DOT MATRIX")))
        terms << QStringLiteral(" UPPER(printer)=\"DM\" ");
    else if (maker.contains(QLatin1String("LABELPRINTER")))
        terms << QStringLiteral(" UPPER(printer)=\"LP\" ");

    static const char* const products[] = {"ADDRESS/SHIPPING LABELS", "CARD PRODUCTS",
                                           "DISKETTE LABELS",         "FILE FOLDER LABELS",
                                           "INDEX PRODUCTS",          "MISCELLANEOUS"};
    if (mProduct >= 0 && mProduct < static_cast<int>(std::size(products)))
        terms << QStringLiteral(" UPPER(PRODTYPE)=\"%1\" ").arg(QLatin1String(products[mProduct]));

    if (mEuropeanOnly)
        terms << QStringLiteral(" (\"A4\"$UPPER(PAPERSIZE) OR \"A5\"$UPPER(PAPERSIZE))");
    return terms.join(QStringLiteral(" and "));
}

int TLabelTemplateFilter::PositionOf(const QStringList& descriptions,
                                     const QString& templateDescription)
{
    return static_cast<int>(descriptions.indexOf(templateDescription));
}

} // namespace qm::labels
