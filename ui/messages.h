#pragma once

#include <QList>
#include <QString>

#include <functional>

// Every message box of the program goes through here, so that tests can answer them.

enum class BoxIcon { None, Error, Question, Information, Warning };
enum class BoxButton { Ok, Cancel, Yes, No };

struct BoxRequest
{
    QString text;
    QString caption;
    BoxIcon icon = BoxIcon::None;
    QList<BoxButton> buttons;
};

using BoxResponder = std::function<BoxButton(const BoxRequest &)>;

namespace Messages {

inline const QString AppTitle = QStringLiteral("Vernolat");

// Shows the box (a QMessageBox) or, when a responder is installed, asks the responder.
BoxButton ask(const BoxRequest &request);

// Installs a responder in place of real boxes; an empty function restores them.
void setResponder(BoxResponder responder);

// The error text as the standard box shows it: a full stop is added when the last character's
// code is above that of the full stop.
QString withFullStop(const QString &text);

// The standard error box: caption "Vernolat", error icon, OK.
void showError(const QString &text);

// "Delete record?" / "Confirm", OK and Cancel, question icon; true for OK.
bool confirmDelete();

// Shows what escaped a handler in the standard error box.
void showException();

} // namespace Messages

// Runs a handler of a window: an error ends it and is shown in the standard error box, and
// nothing crosses into Qt's event loop. Handlers called from other handlers call each other
// directly, so the error ends the outermost event.
template<typename F>
void guarded(F &&handler)
{
    try {
        handler();
    } catch (...) {
        Messages::showException();
    }
}

// As guarded, and tells whether the handler ran to its end (false: an error was shown).
template<typename F>
bool guardedOk(F &&handler)
{
    try {
        handler();
        return true;
    } catch (...) {
        Messages::showException();
        return false;
    }
}
