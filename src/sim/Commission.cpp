#include "sim/Commission.h"

namespace kv {

Commission commissionFor(int32_t schedule, double amount)
{
    switch (schedule) {
    case 0:
        return {amount <= 300000 ? 315 : 3990, 3990};
    case 1:
        return {0, 0};
    case 2:
        if (amount <= 500000)
            return {735, 1680};
        if (amount <= 1000000)
            return {945, 1680};
        if (amount <= 1500000)
            return {1155, 1680};
        return {1680, 1680};
    default:
        return {0, 0};
    }
}

}  // namespace kv
