#include "app/QtTranslation.h"

#include <QLibraryInfo>
#include <QLocale>

namespace corvane {

namespace {
QLocale chinese() { return QLocale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China); }
}  // namespace

std::unique_ptr<QTranslator> loadQtTranslation()
{
    auto translator = std::make_unique<QTranslator>();
    // The clerks read Simplified Chinese whatever the workstation's locale says.
    if (!translator->load(chinese(),
                          QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    return translator;
}

void useChineseLocale() { QLocale::setDefault(chinese()); }

}  // namespace corvane
