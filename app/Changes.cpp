#include "app/Changes.h"

namespace corvane {

Changes& changes()
{
    static Changes board;
    return board;
}

}  // namespace corvane
