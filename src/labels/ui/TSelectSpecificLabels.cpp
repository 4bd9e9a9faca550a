#include "labels/ui/TSelectSpecificLabels.h"

#include "data/ui/THelpWindow.h"
#include "data/ui/TMessageService.h"
#include "labels/TLabelPrintLoop.h"
#include "labels/ui/TLabelSheetView.h"
#include "print/TRPDevice.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace qm::labels {

TSelectSpecificLabels::TSelectSpecificLabels(const TLabelSheet& sheet,
                                             const TLabelSelection& selection, int labelsPerRecord,
                                             bool presort, QWidget* parent)
    : QDialog(parent), mSelection(selection)
{
    setObjectName(QStringLiteral("TSelectSpecificLabels"));
    setWindowTitle(QStringLiteral("Labels Print"));
    mSelection.Resize(sheet.PositionsPerSheet());

    auto* pictureBox = new QGroupBox(QStringLiteral(" Select Labels To Print"), this);
    mSheetView = new TLabelSheetView(sheet, mSelection, pictureBox);
    auto* scroll = new QScrollArea(pictureBox);
    scroll->setWidget(mSheetView);
    scroll->setAlignment(Qt::AlignCenter);
    scroll->setFrameShape(QFrame::NoFrame);
    // The whole sheet shows when the screen has room for it.
    const QSize area = mSheetView->sizeHint();
    scroll->setMinimumSize(std::min(area.width(), 400) + 4, std::min(area.height(), 560) + 4);
    auto* pictureLayout = new QVBoxLayout(pictureBox);
    pictureLayout->addWidget(scroll);

    mAllButton = new QPushButton(QStringLiteral("&All"), this);
    mAllButton->setObjectName(QStringLiteral("AllButton"));
    mNoneButton = new QPushButton(QStringLiteral("&None"), this);
    mNoneButton->setObjectName(QStringLiteral("NoneButton"));

    auto* printerLabel = new QLabel(QStringLiteral("&Printer"), this);
    mPrinterList = new QComboBox(this);
    mPrinterList->setObjectName(QStringLiteral("PrinterList"));
    printerLabel->setBuddy(mPrinterList);
    print::TRPDevice& device = print::TRPDevice::Instance();
    mPrinterList->addItems(device.PrinterNames());
    mPrinterList->setCurrentIndex(device.PrinterIndex());

    mCopiesLabel = new QLabel(QStringLiteral("Number of each &label to print"), this);
    mCopiesEdit = new QSpinBox(this);
    mCopiesEdit->setObjectName(QStringLiteral("CopiesEdit"));
    mCopiesEdit->setRange(1, TLabelPrintLoop::kMaxLabelsPerRecord);
    mCopiesEdit->setValue(std::clamp(labelsPerRecord, 1, TLabelPrintLoop::kMaxLabelsPerRecord));
    mCopiesLabel->setBuddy(mCopiesEdit);
    mCopiesLabel->setVisible(!presort);
    mCopiesEdit->setVisible(!presort);

    mOkButton = new QPushButton(QStringLiteral("Ok"), this);
    mOkButton->setObjectName(QStringLiteral("OkButton"));
    mOkButton->setDefault(true);
    mCancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    mCancelButton->setObjectName(QStringLiteral("CancelButton"));
    mHelpButton = new QPushButton(QStringLiteral("&Help"), this);
    mHelpButton->setObjectName(QStringLiteral("HelpButton"));
    mHelpButton->setAutoDefault(false);
    mAllButton->setAutoDefault(false);
    mNoneButton->setAutoDefault(false);

    auto* side = new QVBoxLayout;
    auto* allNone = new QHBoxLayout;
    allNone->addWidget(mAllButton);
    allNone->addWidget(mNoneButton);
    side->addLayout(allNone);
    side->addSpacing(12);
    side->addWidget(printerLabel);
    side->addWidget(mPrinterList);
    side->addSpacing(12);
    side->addWidget(mCopiesLabel);
    side->addWidget(mCopiesEdit, 0, Qt::AlignLeft);
    side->addStretch(1);
    side->addWidget(mOkButton);
    side->addWidget(mCancelButton);
    side->addWidget(mHelpButton);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(pictureBox, 1);
    layout->addLayout(side);

    connect(mAllButton, &QPushButton::clicked, this, &TSelectSpecificLabels::AllButtonClick);
    connect(mNoneButton, &QPushButton::clicked, this, &TSelectSpecificLabels::NoneButtonClick);
    connect(mPrinterList, &QComboBox::activated, this, &TSelectSpecificLabels::PrinterListChange);
    connect(mOkButton, &QPushButton::clicked, this, &TSelectSpecificLabels::OkButtonClick);
    connect(mCancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(mHelpButton, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });
}

int TSelectSpecificLabels::LabelsPerRecord() const
{
    return std::max(mCopiesEdit->value(), 1);
}

void TSelectSpecificLabels::AllButtonClick()
{
    mSelection.SelectAll();
    mSheetView->update();
}

void TSelectSpecificLabels::NoneButtonClick()
{
    mSelection.SelectNone();
    mSheetView->update();
}

void TSelectSpecificLabels::PrinterListChange(int index)
{
    print::TRPDevice::Instance().SetPrinterIndex(index);
}

void TSelectSpecificLabels::OkButtonClick()
{
    if (!mSelection.AnySelected()) {
        data::TMessageService::Inform(this, TLabelSelection::NothingSelectedMessage());
        return;
    }
    print::TRPDevice::Instance().SetOrientation(print::TOrientation::poPortrait);
    accept();
}

} // namespace qm::labels
