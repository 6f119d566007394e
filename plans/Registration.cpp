#include "plans/Registration.h"

namespace corvane::plans {

void registerPlanWindows() {}

}  // namespace corvane::plans
