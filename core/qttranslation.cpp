// German for Qt's own texts and the program's locale.
#include "core/qttranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace core {

bool installQtGermanTranslation(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QString germanLocaleOverride(const std::function<QString(const char* name)>& environment) {
    const QString all = environment("LC_ALL");
    const QString lang = environment("LANG");
    for (const char* category : {"LC_NUMERIC", "LC_TIME", "LC_MONETARY", "LC_MESSAGES", "LC_MEASUREMENT"}) {
        QString name = all.isEmpty() ? environment(category) : all;
        if (name.isEmpty())
            name = lang;
        if (name.isEmpty() || QLocale(name).language() != QLocale::German)
            return QStringLiteral("de_DE.UTF-8");
    }
    return {};
}

void makeLocaleGerman() {
    const QString value = germanLocaleOverride([](const char* name) { return qEnvironmentVariable(name); });
    if (!value.isEmpty())
        qputenv("LC_ALL", value.toLatin1());
}

} // namespace core
