#pragma once
// The status bar of the contract windows: who is working (部门, the
// department, 岗位, the post) and the workstation's date and time, which keep
// running as the old status bar's clock panels did.

#include <QLabel>
#include <QStatusBar>
#include <array>

namespace corvane {

class LoginStatusBar : public QStatusBar {
public:
    explicit LoginStatusBar(QWidget* parent);
    // Writes the login's department and post (panels 2 and 4).
    void showLogin();
    void showClock();

    std::array<QLabel*, 6> panels{};  // panels 1..6 at index 0..5
};

}  // namespace corvane
