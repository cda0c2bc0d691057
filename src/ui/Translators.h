#pragma once

#include <QList>
#include <QLocale>

class QTranslator;

namespace velo {

// Installs, for the locale, Velo's own translation (embedded under :/i18n)
// and Qt's for its standard dialogs and buttons, each only where one exists
// for the language. Answers those installed, which the application owns;
// removing and deleting them brings back the English texts.
QList<QTranslator*> installTranslators(const QLocale& locale);

} // namespace velo
