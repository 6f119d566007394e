#include "app/MainWindowHooks.h"

namespace corvane {

MainWindowHooks& mainWindowHooks()
{
    static MainWindowHooks hooks;
    return hooks;
}

}  // namespace corvane
