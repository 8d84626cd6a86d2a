#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// The one exception type of the program. Its text is final: it is what the standard error box
// shows (the box adds only the full stop).
class AppError : public std::exception
{
public:
    explicit AppError(QString text)
        : m_text(std::move(text)), m_utf8(m_text.toUtf8())
    {
    }

    const QString &text() const { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};
