#pragma once

namespace corvane::plans {

// Fills the seams through which the contract record window and the contract
// list open the instalment plan and the performance plan.
void registerPlanWindows();

}  // namespace corvane::plans
