#include "app/widgets/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <cctype>
#include <utility>

namespace pelvoro {

std::string qtLocaleOfLanguage(const std::string& language) {
    std::string upper;
    for (char c : language) upper += char(std::toupper(static_cast<unsigned char>(c)));
    static const std::pair<const char*, const char*> kLocales[] = {
        {"DEUTSCH", "de"},   {"GERMAN", "de"},    {"FRANCAIS", "fr"}, {"FRENCH", "fr"},
        {"ITALIANO", "it"},  {"ITALIAN", "it"},   {"ESPANOL", "es"},  {"SPANISH", "es"},
        {"SLOVENSKI", "sl"}, {"SLOVENIAN", "sl"}, {"POLSKI", "pl"},   {"POLISH", "pl"},
        {"CESKY", "cs"},     {"CZECH", "cs"},     {"HRVATSKI", "hr"}, {"NEDERLANDS", "nl"},
        {"DUTCH", "nl"},     {"PORTUGUES", "pt"}, {"RUSSIAN", "ru"},  {"MAGYAR", "hu"},
        {"HUNGARIAN", "hu"}, {"SVENSKA", "sv"},   {"DANSK", "da"},    {"SUOMI", "fi"},
    };
    for (const auto& [name, locale] : kLocales)
        if (upper == name) return locale;
    return {};
}

bool installQtTranslations(const std::string& language) {
    const std::string locale = qtLocaleOfLanguage(language);
    if (locale.empty() || !QCoreApplication::instance()) return false;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool any = false;
    // "qt_de" names the translations of every Qt module that has them.
    for (const char* base : {"qt_", "qtbase_"}) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(QString::fromLatin1(base) + QString::fromStdString(locale), folder)) {
            QCoreApplication::installTranslator(translator);
            any = true;
        } else {
            delete translator;
        }
    }
    return any;
}

}  // namespace pelvoro
