#include "receipts/BillWindowSeams.h"

namespace corvane::receipts {

BillWindowSeams& billWindowSeams()
{
    static BillWindowSeams seams;
    return seams;
}

}  // namespace corvane::receipts
