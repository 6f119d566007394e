#pragma once
// The services that show something on the screen, built on Qt Widgets: the
// message box, the file, folder and printer dialogs and the wait cursor.

namespace corvane {

// Makes them the real services (Services::setScreenServices); the program
// calls it once, right after it made its QApplication.
void useWidgetServices();

}  // namespace corvane
