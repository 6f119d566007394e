#pragma once

namespace corvane::statistics {

// Hands the two statistics windows to the main window's menus.
void registerStatisticsWindows();

}  // namespace corvane::statistics
