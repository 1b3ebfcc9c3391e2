#include "results/result_value.h"

#include <ostream>

namespace pelvoro {

std::ostream& operator<<(std::ostream& os, const UnitText& unit) {
    return os << unit.view();
}

}  // namespace pelvoro
