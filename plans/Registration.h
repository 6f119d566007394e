#pragma once

namespace corvane::plans {

// Fills the seams through which the contract record window and the contract
// list open the instalment plan, the performance plan and the expiry
// handling, and the main window opens the expiry reminder.
void registerPlanWindows();

}  // namespace corvane::plans
