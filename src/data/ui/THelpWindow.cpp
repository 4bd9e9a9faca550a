#include "data/ui/THelpWindow.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

namespace qm::data {
namespace {

QPointer<THelpWindow> gWindow;

QString PlainTextOf(const QString& file)
{
    QFile f(QStringLiteral(":/help/") + file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(f.readAll()));
    return doc.toPlainText();
}

} // namespace

const std::vector<THelpPage>& THelpWindow::Pages()
{
    // Contents order. Windows added later put their page here with their help context.
    static const std::vector<THelpPage> pages = {
        {kContentsContext, "index.html", "Contents"},
        {kHowToUseHelpContext, "using-help.html", "How to use help"},
        {1029, "main-window.html", "The main window"},
        {4020, "preview.html", "Page preview"},
        {4021, "print-status.html", "Print status"},
        {1091, "new-record.html", "Adding a record"},
        {1025, "select-date.html", "Choosing a record date"},
        {1038, "preferences.html", "Preferences"},
        {1031, "dial-phone.html", "Dialling a phone number"},
        {1033, "address-filter.html", "Filtering the address file"},
        {1035, "tagging.html", "Tagging all filter matches"},
        {1026, "search.html", "Searching for a record"},
        {1034, "address-browse.html", "Browsing the address file as a table"},
        {1037, "new-database.html", "Creating a new address file"},
        {1039, "rebuild-system-indexes.html", "Rebuilding the system indexes"},
        {1040, "rebuild-indexes.html", "Rebuilding an address file's indexes"},
        {2097, "field-lengths.html", "Field lengths of new address files"},
        {1200, "design-surface.html", "Working on a design"},
        {1201, "text-object-text.html", "Text of a fixed text object"},
        {1202, "select-field.html", "Choosing the field an object shows"},
        {1203, "counter.html", "Counter settings"},
        {1204, "symbol-selector.html", "Choosing a symbol"},
        {1205, "text-3d-effects.html", "3D effects of text"},
        {1206, "multi-line-text.html", "Editing multi-line text"},
        {1207, "address-label-layout.html", "Address label layout"},
        {1208, "load-image.html", "Loading a picture"},
        {1209, "intelligent-mail-barcode.html", "Intelligent Mail barcode"},
        {1210, "intelligent-mail-settings.html", "Intelligent Mail settings"},
        {1044, "duplicate-check.html", "Checking for duplicate records"},
        {7001, "letters.html", "Printing letters"},
        {7011, "letter-designer.html", "Designing a letter"},
        {7012, "page-properties.html", "Letter page settings"},
        {7021, "letter-print-status.html", "Letter print status"},
        {7022, "letter-preview.html", "Previewing letters"},
        {1043, "state-zip-check.html", "Checking states and ZIP codes"},
        {1045, "convert-case.html", "Converting the case of fields"},
        {1046, "delete-records.html", "Deleting records in bulk"},
        {1003, "search-replace.html", "Searching and replacing field values"},
        {1060, "ascii-import.html", "Importing a text file"},
        {1061, "match-fields.html", "Matching fields for an import"},
        {1062, "dbf-import.html", "Importing another table"},
        {1064, "import-older.html", "Importing an address file of an earlier version"},
        {1065, "copy-out.html", "Copying records out"},
        {1070, "print-labels.html", "Printing labels"},
        {1071, "labels-print.html", "Choosing the labels to print"},
        {1072, "bulk-mail-presort.html", "Bulk mail presorting"},
        {5101, "select-label.html", "Choosing a label sheet template"},
        {5102, "label-edit.html", "Typing in a sheet of your own"},
        {5103, "label-design.html", "Designing a label"},
        {1401, "print-envelope.html", "Printing envelopes"},
        {1402, "envelope-size.html", "Choosing an envelope size"},
        {1403, "envelope-design.html", "Designing an envelope"},
        {1404, "envelope-print.html", "Checking printer and feed"},
        {1405, "paper-feed.html", "Paper feed method"},
        {2701, "letter-spell-check.html", "Checking the spelling of a letter"},
        {2702, "letter-find.html", "Finding text in a letter"},
        {2703, "letter-replace.html", "Replacing text in a letter"},
        {2704, "letter-paragraph.html", "Paragraph settings"},
        {1310, "print-report.html", "Printing reports"},
        {1311, "count-zip-codes.html", "Counting ZIP codes"},
        {1312, "print-current-record.html", "Printing the current record"},
        {1320, "report-layout.html", "Report page and band frames"},
        {1321, "report-designer.html", "Designing a report"},
    };
    return pages;
}

QString THelpWindow::PageFor(int context)
{
    for (const THelpPage& page : Pages())
        if (page.context == context)
            return QString::fromLatin1(page.file);
    return QStringLiteral("index.html");
}

THelpWindow::THelpWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("THelpWindow"));
    setWindowTitle(QStringLiteral("Quillmark Help"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(560, 400);
    resize(760, 540);

    mSearchEdit = new QLineEdit(this);
    mSearchEdit->setObjectName(QStringLiteral("SearchEdit"));
    mSearchEdit->setPlaceholderText(QStringLiteral("Search help"));
    mSearchEdit->setClearButtonEnabled(true);
    mContentsList = new QListWidget(this);
    mContentsList->setObjectName(QStringLiteral("ContentsList"));
    mBrowser = new QTextBrowser(this);
    mBrowser->setObjectName(QStringLiteral("HelpBrowser"));
    mBrowser->setSearchPaths({QStringLiteral(":/help")});
    mBrowser->setOpenExternalLinks(false);

    for (const THelpPage& page : Pages()) {
        auto* item = new QListWidgetItem(QString::fromUtf8(page.title), mContentsList);
        item->setData(Qt::UserRole, QString::fromLatin1(page.file));
    }

    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(mSearchEdit);
    leftLayout->addWidget(mContentsList);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(left);
    splitter->addWidget(mBrowser);
    splitter->setStretchFactor(1, 1);
    splitter->setCollapsible(0, false);
    // The contents pane is as wide as its longest title (at any font size and scaling), so no
    // title is cut off; the page takes the rest.
    const int titlesWidth = mContentsList->sizeHintForColumn(0) + 2 * mContentsList->frameWidth() +
                            mContentsList->verticalScrollBar()->sizeHint().width() +
                            2 * mContentsList->spacing();
    left->setMinimumWidth(titlesWidth);
    resize(std::max(width(), titlesWidth + 560), height());
    splitter->setSizes({titlesWidth, width() - titlesWidth});
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);

    connect(mContentsList, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            OpenPage(item->data(Qt::UserRole).toString());
    });
    connect(mSearchEdit, &QLineEdit::textChanged, this, &THelpWindow::SearchEditChanged);
    connect(mBrowser, &QTextBrowser::sourceChanged, this,
            [this](const QUrl& url) { mCurrent = url.fileName(); });
}

void THelpWindow::OpenPage(const QString& file)
{
    mCurrent = file;
    mBrowser->setSource(QUrl(QStringLiteral("qrc:/help/") + file));
}

QString THelpWindow::CurrentPage() const
{
    return mCurrent;
}

THelpWindow* THelpWindow::Instance()
{
    return gWindow.data();
}

QStringList THelpWindow::VisibleTitles() const
{
    QStringList titles;
    for (int i = 0; i < mContentsList->count(); ++i)
        if (!mContentsList->item(i)->isHidden())
            titles << mContentsList->item(i)->text();
    return titles;
}

void THelpWindow::SetSearchText(const QString& text)
{
    mSearchEdit->setText(text);
}

void THelpWindow::SearchEditChanged(const QString& text)
{
    const QString needle = text.trimmed();
    for (int i = 0; i < mContentsList->count(); ++i) {
        QListWidgetItem* item = mContentsList->item(i);
        const bool match =
            needle.isEmpty() || item->text().contains(needle, Qt::CaseInsensitive) ||
            PlainTextOf(item->data(Qt::UserRole).toString()).contains(needle, Qt::CaseInsensitive);
        item->setHidden(!match);
    }
    if (!needle.isEmpty())
        mBrowser->find(needle);
}

void THelpWindow::ShowContext(int context, QWidget* parent)
{
    if (!gWindow)
        gWindow = new THelpWindow(parent);
    const QString file = PageFor(context);
    for (int i = 0; i < gWindow->mContentsList->count(); ++i)
        if (gWindow->mContentsList->item(i)->data(Qt::UserRole).toString() == file)
            gWindow->mContentsList->setCurrentRow(i);
    gWindow->OpenPage(file);
    gWindow->show();
    gWindow->raise();
    gWindow->activateWindow();
}

void THelpWindow::ShowSearch(QWidget* parent)
{
    ShowContext(kContentsContext, parent);
    gWindow->mSearchEdit->setFocus();
    gWindow->mSearchEdit->selectAll();
}

} // namespace qm::data
