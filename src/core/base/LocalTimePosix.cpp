#include "core/base/LocalTime.h"

namespace tovarin {

std::tm LocalTime(std::time_t moment) {
    std::tm parts{};
    localtime_r(&moment, &parts);
    return parts;
}

}  // namespace tovarin
