#pragma once

// Every message box, question and warning beep of the program goes through here, with its caption,
// text, icon and default button. The logic classes ask their questions here without knowing about
// windows; the program installs the real message boxes at start-up (TMessageBoxes::Install), and
// tests install a responder that records each message and answers as the test chooses, so
// messages are asserted rather than clicked.

#include <QString>
#include <functional>

class QWidget;

namespace qm::data {

enum class TMessageIcon { Information, Warning, Error, Question };

enum class TAnswer { Yes, No, Cancel };

struct TMessage {
    QString caption;
    QString text;
    TMessageIcon icon = TMessageIcon::Information;
    bool isQuestion = false;
    bool defaultYes = true;  // questions only
    bool isBeep = false;     // a warning beep: no caption, no text
    bool withCancel = false; // questions only: Cancel beside Yes and No
};

class TMessageResponder {
public:
    virtual ~TMessageResponder() = default;
    // Returns the answer to a question (true = Yes); ignored for information boxes and beeps.
    virtual bool Respond(const TMessage& message) = 0;
    // The answer to a question with a Cancel button (withCancel); Yes or No from Respond unless
    // the responder can answer Cancel.
    virtual TAnswer RespondWithCancel(const TMessage& message)
    {
        return Respond(message) ? TAnswer::Yes : TAnswer::No;
    }
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
    // A yes/no/cancel question with the question icon; Yes is the default, Esc is Cancel.
    static TAnswer AskWithCancel(QWidget* parent, const QString& caption, const QString& text);
    // The warning beep (moving past either end, a refused key).
    static void Beep();

    // Replaces the real boxes; nullptr puts them back. The responder is not owned.
    static void SetResponder(TMessageResponder* responder);

    // How messages reach the screen when no responder is set (installed by the window layer).
    // Without one, messages go to the standard error stream and questions take their default.
    using TDisplay = std::function<TAnswer(QWidget* parent, const TMessage& message)>;
    static void SetDisplay(TDisplay display);

private:
    static bool Show(QWidget* parent, const TMessage& message);
    static TAnswer Answer(QWidget* parent, const TMessage& message);
};

} // namespace qm::data
