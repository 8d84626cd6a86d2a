#include "messages.h"

#include "data/apperror.h"

#include <QApplication>
#include <QMessageBox>

namespace {

BoxResponder &responder()
{
    static BoxResponder r;
    return r;
}

QMessageBox::StandardButton toStandard(BoxButton b)
{
    switch (b) {
    case BoxButton::Ok:
        return QMessageBox::Ok;
    case BoxButton::Cancel:
        return QMessageBox::Cancel;
    case BoxButton::Yes:
        return QMessageBox::Yes;
    case BoxButton::No:
        return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon toIcon(BoxIcon i)
{
    switch (i) {
    case BoxIcon::None:
        return QMessageBox::NoIcon;
    case BoxIcon::Error:
        return QMessageBox::Critical;
    case BoxIcon::Question:
        return QMessageBox::Question;
    case BoxIcon::Information:
        return QMessageBox::Information;
    case BoxIcon::Warning:
        return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

} // namespace

namespace Messages {

void setResponder(BoxResponder r)
{
    responder() = std::move(r);
}

BoxButton ask(const BoxRequest &request)
{
    if (responder())
        return responder()(request);

    QMessageBox box(toIcon(request.icon), request.caption, request.text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QMessageBox::StandardButtons buttons;
    for (BoxButton b : request.buttons)
        buttons |= toStandard(b);
    box.setStandardButtons(buttons);
    if (!request.buttons.isEmpty())
        box.setDefaultButton(toStandard(request.buttons.first()));
    const int result = box.exec();
    for (BoxButton b : request.buttons) {
        if (result == toStandard(b))
            return b;
    }
    // Closing the box by Escape or its close box answers as its last button would.
    return request.buttons.isEmpty() ? BoxButton::Ok : request.buttons.last();
}

QString withFullStop(const QString &text)
{
    if (!text.isEmpty() && text.back().unicode() > u'.')
        return text + u'.';
    return text;
}

void showError(const QString &text)
{
    ask({withFullStop(text), AppTitle, BoxIcon::Error, {BoxButton::Ok}});
}

bool confirmDelete()
{
    return ask({QStringLiteral("Delete record?"), QStringLiteral("Confirm"), BoxIcon::Question,
                {BoxButton::Ok, BoxButton::Cancel}})
        == BoxButton::Ok;
}

void showException()
{
    showError(currentErrorText());
}

} // namespace Messages
