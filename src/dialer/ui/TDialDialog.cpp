#include "dialer/ui/TDialDialog.h"

#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"
#include "dialer/TModemPort.h"
#include "dialer/TSerialDevices.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

namespace qm::dialer {
namespace {

data::TSettingsFile Settings()
{
    return data::TSettingsFile(data::TProgramHome::Current().SettingsPath());
}

// The serial devices the system knows (ttyS, ttyUSB, ttyACM on Linux), by name.
QStringList SystemPorts()
{
    QStringList ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports << info.systemLocation();
    ports.sort();
    ports.removeDuplicates();
    return ports;
}

} // namespace

TDialDialog::TDialDialog(const QString& number, QWidget* parent, std::unique_ptr<TModemPort> port)
    : QDialog(parent), mDialer(std::move(port))
{
    setObjectName(QStringLiteral("TDialDialog"));
    setWindowTitle(QStringLiteral("Dial Phone Number"));
    mDialer.SetParent(this);

    mNumberEdit = new QLineEdit(number, this);
    mNumberEdit->setObjectName(QStringLiteral("NumberEdit"));
    mPrefixEdit = new QLineEdit(this);
    mPrefixEdit->setObjectName(QStringLiteral("PrefixEdit"));

    mPortCombo = new QComboBox(this);
    mPortCombo->setObjectName(QStringLiteral("PortCombo"));
    for (int i = 0; i < 4; ++i)
        mPortCombo->addItem(TDialSettings::PortCaption(TDialPort(i)));
    mDeviceCombo = new QComboBox(this);
    mDeviceCombo->setObjectName(QStringLiteral("DeviceCombo"));
    mDeviceCombo->setEditable(true);
    mDeviceCombo->setInsertPolicy(QComboBox::NoInsert);
    mDeviceCombo->addItems(SystemPorts());
    mDeviceCombo->setToolTip(QStringLiteral("The device this port choice stands for: pick one "
                                            "of the system's serial ports or type its path"));
    mDeviceCombo->setMinimumContentsLength(14);
    for (int i = 0; i < 4; ++i)
        mDevices[size_t(i)] = TSerialDevices::DefaultDevice(i);
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(mPortCombo);
    portRow->addWidget(mDeviceCombo, 1);

    auto* method = new QGroupBox(QStringLiteral("Method"), this);
    method->setObjectName(QStringLiteral("MethodGroup"));
    mToneRadio = new QRadioButton(QStringLiteral("Tone"), method);
    mToneRadio->setObjectName(QStringLiteral("ToneRadio"));
    mToneRadio->setChecked(true);
    mPulseRadio = new QRadioButton(QStringLiteral("Pulse"), method);
    mPulseRadio->setObjectName(QStringLiteral("PulseRadio"));
    auto* methodLayout = new QHBoxLayout(method);
    methodLayout->addWidget(mToneRadio);
    methodLayout->addWidget(mPulseRadio);
    methodLayout->addStretch();

    // Kept in the settings file for the user's modem, never sent: always hidden.
    mInitLabel = new QLabel(QStringLiteral("Modem Initialization String"), this);
    mInitEdit = new QLineEdit(this);
    mInitEdit->setObjectName(QStringLiteral("InitEdit"));
    mInitLabel->setBuddy(mInitEdit);
    mInitLabel->hide();
    mInitEdit->hide();

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Number to Dial"), mNumberEdit);
    form->addRow(QStringLiteral("Prefix"), mPrefixEdit);
    form->addRow(QStringLiteral("Port"), portRow);
    form->addRow(mInitLabel, mInitEdit);

    auto* buttons = new QDialogButtonBox(this);
    mDialButton = buttons->addButton(QStringLiteral("Dial"), QDialogButtonBox::ActionRole);
    mDialButton->setObjectName(QStringLiteral("DialButton"));
    mDialButton->setDefault(true);
    mHelpButton = buttons->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole);
    mHelpButton->setObjectName(QStringLiteral("HelpButton"));
    mCancelButton = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    mCancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(mDialButton, &QPushButton::clicked, this, &TDialDialog::DialButtonClick);
    connect(mHelpButton, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });
    connect(mCancelButton, &QPushButton::clicked, this, &TDialDialog::reject);
    connect(mPortCombo, &QComboBox::currentIndexChanged, this, &TDialDialog::PortComboChange);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(method);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 52);
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

TDialDialog::~TDialDialog() = default;

void TDialDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!mActivated) {
        mActivated = true;
        FormActivate();
    }
}

void TDialDialog::FormActivate()
{
    const TDialSettings s = TDialSettings::Load(Settings());
    mPrefixEdit->setText(s.prefix);
    mInitEdit->setText(s.init);
    mDevices = s.devices;
    mShownPort = int(s.port);
    const QSignalBlocker block(mPortCombo);
    mPortCombo->setCurrentIndex(int(s.port));
    mDeviceCombo->setEditText(mDevices[size_t(s.port)]);
    (s.method == TDialMethod::dmPulse ? mPulseRadio : mToneRadio)->setChecked(true);
    mNumberEdit->setFocus();
}

void TDialDialog::PortComboChange(int index)
{
    if (index < 0 || index > 3)
        return;
    mDevices[size_t(mShownPort)] = mDeviceCombo->currentText().trimmed();
    mShownPort = index;
    mDeviceCombo->setEditText(mDevices[size_t(index)]);
}

TDialSettings TDialDialog::Values() const
{
    TDialSettings s;
    s.prefix = mPrefixEdit->text();
    s.init = mInitEdit->text();
    s.port = TDialPort(std::clamp(mPortCombo->currentIndex(), 0, 3));
    s.method = mPulseRadio->isChecked() ? TDialMethod::dmPulse : TDialMethod::dmTone;
    s.devices = mDevices;
    QString device = mDeviceCombo->currentText().trimmed();
    if (device.isEmpty())
        device = TSerialDevices::DefaultDevice(int(s.port));
    s.devices[size_t(s.port)] = device;
    return s;
}

void TDialDialog::DialButtonClick()
{
    if (mDialing)
        return;
    mHelpButton->hide();
    const TDialSettings s = Values();
    mDevices = s.devices;
    mDeviceCombo->setEditText(s.Device());
    try {
        data::TSettingsFile settings = Settings();
        s.Save(settings);
    } catch (const data::TSettingsWriteError& error) {
        // The dial does not depend on the settings; say so and dial anyway.
        data::TMessageService::Inform(this, error.Message());
    }
    mDialer.NumberToDial = s.prefix + mNumberEdit->text();
    mDialer.Method = s.method;
    mDialer.ComPort = s.port;
    mDialer.Device = s.Device();
    SetBusy(true);
    mLastOutcome = mDialer.Dial();
    SetBusy(false);
}

void TDialDialog::SetBusy(bool busy)
{
    mDialing = busy;
    for (QWidget* w :
         std::initializer_list<QWidget*>{mDialButton, mCancelButton, mNumberEdit, mPrefixEdit,
                                         mPortCombo, mDeviceCombo, mToneRadio, mPulseRadio})
        w->setEnabled(!busy);
    if (!busy)
        mDialButton->setFocus();
}

void TDialDialog::reject()
{
    if (mDialing)
        return;
    QDialog::reject();
}

void TDialDialog::closeEvent(QCloseEvent* event)
{
    if (mDialing) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace qm::dialer
