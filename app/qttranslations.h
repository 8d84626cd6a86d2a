#pragma once

class QCoreApplication;
class QLocale;
class QTranslator;

// Qt's own texts (standard buttons, the print dialog, the edit menus) in the interface's
// language: the "qtbase" catalogue from Qt's translations folder, installed on `app` when
// `locale` is Russian. The program's own texts are Russian already and are not looked up.
// Returns the translator installed (owned by `app`), or nullptr when the locale is another or
// the catalogue is missing.
QTranslator *InstallQtTranslations(QCoreApplication &app, const QLocale &locale);
