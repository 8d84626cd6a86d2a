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

    // An error raised by an instance: its text begins with the instance's name, a colon and a
    // blank ("T_HEAD_RAR: ..."). An instance that catches it on its way out passes it on as it
    // is, instead of naming itself a second time.
    static AppError ofInstance(const QString &instance, const QString &text)
    {
        AppError e(instance + QStringLiteral(": ") + text);
        e.m_namesInstance = true;
        return e;
    }

    const QString &text() const { return m_text; }
    bool namesInstance() const { return m_namesInstance; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
    bool m_namesInstance = false;
};

// The text of the exception being handled, for code that reports an error rather than ending
// on it: an AppError's own text, another exception's what(). Only inside a catch block.
inline QString currentErrorText()
{
    try {
        throw;
    } catch (const AppError &e) {
        return e.text();
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Неизвестная ошибка");
    }
}
