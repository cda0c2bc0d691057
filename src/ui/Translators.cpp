#include "ui/Translators.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace velo {

namespace {

QTranslator* installed(const QLocale& locale, const QString& name, const QString& folder) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(locale, name, "_", folder) &&
        QCoreApplication::installTranslator(translator)) {
        return translator;
    }
    delete translator;
    return nullptr;
}

} // namespace

QList<QTranslator*> installTranslators(const QLocale& locale) {
    QList<QTranslator*> translators;
    for (QTranslator* translator :
         {installed(locale, "velo", ":/i18n"),
          installed(locale, "qtbase", QLibraryInfo::path(QLibraryInfo::TranslationsPath))}) {
        if (translator) {
            translators << translator;
        }
    }
    return translators;
}

} // namespace velo
