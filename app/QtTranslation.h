#pragma once
// Qt's own texts (file and print dialogs, the edit boxes' context menus, the
// standard buttons) in the program's language.

#include <QTranslator>
#include <memory>

namespace corvane {

// Qt's Simplified Chinese catalogue from the Qt installation's translations
// folder, loaded but not installed; null when the catalogue is not there (the
// program then runs with Qt's English texts rather than not at all).
std::unique_ptr<QTranslator> loadQtTranslation();

// Makes Simplified Chinese (China) the program's own locale, whatever the
// workstation's: calendars, month and day names and Qt's number formatting
// follow it. Called once at start-up, before the first window is made.
void useChineseLocale();

}  // namespace corvane
