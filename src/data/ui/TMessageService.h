#pragma once

// Every message box and question of the program goes through here, with its caption, text, icon
// and default button. Tests install a responder that records each message and answers as the test
// chooses, so messages are asserted rather than clicked.

#include <QString>

class QWidget;

namespace qm::data {

enum class TMessageIcon { Information, Warning, Error, Question };

struct TMessage {
    QString caption;
    QString text;
    TMessageIcon icon = TMessageIcon::Information;
    bool isQuestion = false;
    bool defaultYes = true; // questions only
};

class TMessageResponder {
public:
    virtual ~TMessageResponder() = default;
    // Returns the answer to a question (true = Yes); ignored for information boxes.
    virtual bool Respond(const TMessage& message) = 0;
};

class TMessageService {
public:
    // An information box, caption "Information" unless given, with an OK button.
    static void Inform(QWidget* parent, const QString& text,
                       const QString& caption = QStringLiteral("Information"));
    static void Warn(QWidget* parent, const QString& caption, const QString& text);
    static void Error(QWidget* parent, const QString& caption, const QString& text);
    // A yes/no question with the question icon; Yes is the default unless defaultYes is false.
    static bool Ask(QWidget* parent, const QString& caption, const QString& text,
                    bool defaultYes = true);

    // Replaces the real boxes; nullptr puts them back. The responder is not owned.
    static void SetResponder(TMessageResponder* responder);

private:
    static bool Show(QWidget* parent, const TMessage& message);
};

} // namespace qm::data
