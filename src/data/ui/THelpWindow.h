#pragma once

// The help window: the program's own HTML pages (resources under ":/help/"), a contents list and
// a search box. Every Help button and the Help menu open it on a help context number; an unknown
// context opens the contents page.

#include <QDialog>
#include <vector>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace qm::data {

struct THelpPage {
    int context = 0;  // 0 for pages reached only from the contents
    const char* file; // under ":/help/"
    const char* title;
};

class THelpWindow : public QDialog {
public:
    static constexpr int kContentsContext = 1;
    static constexpr int kHowToUseHelpContext = 2;

    // Shows the one help window of the program on the page of the context.
    static void ShowContext(int context, QWidget* parent = nullptr);
    // Shows it with the search box focused.
    static void ShowSearch(QWidget* parent = nullptr);

    // Every page with its context, in contents order.
    static const std::vector<THelpPage>& Pages();
    // The page file for a context (the contents page when unknown).
    static QString PageFor(int context);

    // The open help window, or nullptr.
    static THelpWindow* Instance();

    QString CurrentPage() const;
    // Titles of the contents entries the search box leaves visible.
    QStringList VisibleTitles() const;
    void SetSearchText(const QString& text);

private:
    explicit THelpWindow(QWidget* parent);
    void OpenPage(const QString& file);
    void SearchEditChanged(const QString& text);

    QLineEdit* mSearchEdit = nullptr;
    QListWidget* mContentsList = nullptr;
    QTextBrowser* mBrowser = nullptr;
    QString mCurrent;
};

} // namespace qm::data
