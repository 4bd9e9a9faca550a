#pragma once

// The arithmetic of one label sheet: where each label sits, how many positions a sheet holds, and
// which paper the printer is asked for. The print loop, the sheet picture of "Labels Print", the
// command-line tool and the designer all place labels through this class, so they agree to the
// thousandth of an inch.
//
// Positions are numbered from 0, row by row, left to right: column c, row r is c + r * across.
// Corners are inches from the sheet's top-left corner as printed. The geometry's single-precision
// lengths are widened to double once, here, as the print loop uses them.

#include "labels/TLabelGeometry.h"

#include <QPointF>
#include <QSizeF>
#include <QString>

namespace qm::labels {

class TLabelSheet {
public:
    // Paper codes asked of the printer (the device's paper numbers).
    static constexpr int kPaperCustom = 0;
    static constexpr int kPaperLetter = 1;
    static constexpr int kPaperA4 = 9;
    static constexpr int kPaperA5 = 11;

    // What the print commands ask the printer for, and how they check what it took.
    struct TPaperRequest {
        bool landscape = false;
        // The paper as it enters the printer, rounded to 2 decimals: for a landscape sheet the
        // sheet's depth runs across.
        double width = 0;
        double height = 0;
        int code = kPaperCustom;
        // False when no size may be requested at all (see PaperRequest); the size then counts as
        // unconfirmed and the user is always asked.
        bool requestSize = true;
    };

    explicit TLabelSheet(const TLabelGeometry& geometry);

    // Empty when the geometry describes a sheet labels can be placed on; else what is wrong
    // ("the number of labels across is 0", ...). Counts below 1, label or paper lengths of 0 or
    // less, negative margins and a pitch of 0 or less where there is more than one column or row
    // make a sheet nothing can be placed on.
    static QString Problem(const TLabelGeometry& geometry);

    int Across() const { return mAcross; }
    int Down() const { return mDown; }
    int PositionsPerSheet() const { return mAcross * mDown; }
    int PositionNumber(int column, int row) const { return column + row * mAcross; }
    int ColumnOf(int position) const { return position % mAcross; }
    int RowOf(int position) const { return position / mAcross; }

    // The top-left corner of a label. A positive extra gap moves every column c with
    // c + 1 > across div 2 (with 3 columns the second and third, with 1 column that column), and
    // likewise every row; a gap of 0 or less moves nothing.
    QPointF Corner(int column, int row) const;
    QPointF Corner(int position) const { return Corner(ColumnOf(position), RowOf(position)); }
    QSizeF LabelSize() const { return {mLabelWidth, mLabelHeight}; }
    QSizeF SheetSize() const { return {mSheetWidth, mSheetDepth}; }
    double HorizontalPitch() const { return mHorizontalPitch; }
    double VerticalPitch() const { return mVerticalPitch; }

    // "LTRL", "A4L" and "USERL" (the column's trailing blanks aside) are the landscape codes.
    static bool IsLandscape(const QString& paperCode);
    bool Landscape() const { return mLandscape; }

    // The paper request for the printer with the given device name: letter (LTR, LTRL) code 1,
    // A4 (A4, A4L) code 9, A5 code 11; any other code asks for code 0 with width x height, except
    // on a device whose name contains "HPFDJ" in any letter case, which is asked for no size.
    TPaperRequest PaperRequest(const QString& deviceName) const;

    // The check after the printer took the request: the page it reports (width and height as
    // printed, in inches) rounded to 2 decimals must be within 0.05 in of the request in both
    // directions (for landscape, page height against the request's width and page width against
    // its height). Always false for a request that asked for no size.
    static bool PaperConfirmed(const TPaperRequest& request, double pageWidth, double pageHeight);
    // The question asked when the paper is not confirmed.
    static QString PaperQuestion(const TPaperRequest& request);

private:
    QString mPaperSize;
    int mAcross;
    int mDown;
    double mLabelWidth;
    double mLabelHeight;
    double mTopMargin;
    double mLeftMargin;
    double mHorizontalPitch;
    double mVerticalPitch;
    double mSheetWidth;
    double mSheetDepth;
    double mMidExtraX;
    double mMidExtraY;
    bool mLandscape;
};

} // namespace qm::labels
