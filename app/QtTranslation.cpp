#include "app/QtTranslation.h"

#include <QLibraryInfo>
#include <QLocale>

namespace corvane {

std::unique_ptr<QTranslator> loadQtTranslation()
{
    auto translator = std::make_unique<QTranslator>();
    // The clerks read Simplified Chinese whatever the workstation's locale says.
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China),
                          QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    return translator;
}

}  // namespace corvane
