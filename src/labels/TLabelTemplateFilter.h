#pragma once

// The template picker's choices and the filter they make on the template table: the manufacturer
// and product type items, how a layout's maker, printer and product group choose them when the
// picker opens, the xBase filter expression, and the row the grid is first positioned on.

#include <QString>
#include <QStringList>

namespace qm::labels {

class TLabelTemplateFilter {
public:
    // The list items, as shown.
    static const QStringList& ManufacturerItems();
    static const QStringList& ProductItems(); // the last one is "All"
    static int AllProductsItem() { return static_cast<int>(ProductItems().size()) - 1; }

    // The item for a text typed in any letter case; -1 when there is none.
    static int FindManufacturer(const QString& text);
    static int FindProduct(const QString& text);

    // The manufacturer list with the template tables' further makers (TLabelTemplates::Makers()):
    // the four items above, then one item per maker, shown as the table spells it, then "All
    // Manufacturers". A maker's item filters on that maker alone; the last one on no maker.
    static QStringList ManufacturerItems(const QStringList& makers);
    static int FindManufacturer(const QString& text, const QStringList& makers);
    // The item of a layout's maker among the further makers (any letter case); -1 when it is one
    // of the first four items' makers or not listed.
    static int MakerItem(const QString& maker, const QStringList& makers);
    // The item that lists a template of this maker and printer code: its further maker's item,
    // else the Avery or Costar item of its printer code, else "All Manufacturers".
    static int ItemListing(const QString& maker, const QString& printer, const QStringList& makers);

    // The picker as it opens for a layout: its maker, printer code and product group choose the
    // lists, and the grid stands on the layout's own template when the lists show it. A
    // user-defined layout starts on "Avery Laserjet" and "Address/Shipping Labels" with the grid
    // not positioned; so does a NEBS layout, whose sheets the items do not offer. Any other maker
    // the items do not name shows "Avery Laserjet". A new layout is no exception: it carries the
    // new-layout template ("Avery 5160  Address"), or the one a Change Layout took since.
    struct TStart {
        int manufacturer = 0;
        int product = 0;
        bool positionGrid = false;
    };
    static TStart StartFor(const QString& maker, const QString& printer,
                           const QString& productGroup);

    TLabelTemplateFilter() = default;
    TLabelTemplateFilter(int manufacturer, int product, bool europeanOnly)
        : mManufacturer(manufacturer), mProduct(product), mEuropeanOnly(europeanOnly)
    {
    }

    // The further makers the manufacturer items after the first four stand for.
    void SetMakers(const QStringList& makers) { mMakers = makers; }
    const QStringList& Makers() const { return mMakers; }
    void SetManufacturer(int item) { mManufacturer = item; }
    void SetProduct(int item) { mProduct = item; }
    void SetEuropeanOnly(bool on) { mEuropeanOnly = on; }
    int Manufacturer() const { return mManufacturer; }
    int Product() const { return mProduct; }
    bool EuropeanOnly() const { return mEuropeanOnly; }

    // The expression for the template table: up to four terms (maker, printer, product type,
    // paper), each with its own blanks, joined by " and ". Empty when no term applies. A further
    // maker's item makes the maker term " UPPER(manufac)=\"HERMA\" " and no printer term.
    QString Expression() const;

    // The row of descriptions (in the grid's order) equal to the template description exactly,
    // blanks and letter case included; -1 when none is.
    static int PositionOf(const QStringList& descriptions, const QString& templateDescription);

private:
    QStringList mMakers;
    int mManufacturer = 0;
    int mProduct = 0;
    bool mEuropeanOnly = false;
};

} // namespace qm::labels
