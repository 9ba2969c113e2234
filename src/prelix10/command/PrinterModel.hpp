#pragma once

#include <cstdint>

namespace PrinterCommandBuilder {

// The generator's model number; Unknown for a name the factory does not know.
enum class PrinterModel : std::int32_t {
    Unknown = 0,
    OEM = 1,
    Harlo219KK = 2,
    Harlo399KK = 3,
    Harlo499KK = 4,
    Zunel59 = 5,
    Harlo599H = 6,
    Harlo599MD = 7,
    Harlo599FTQ = 8,
    Harlo599KKHPlus = 9,
    Harlo599ROP = 10,
    Harlo599KKKY = 11,
    Harlo599KKKROP = 12,
    Harlo599KKKJK = 13,
    Harlo599KKKH = 14,
    Harlo599KZ = 15,
    Harlo599KZ_XW = 16,
    Rovan = 17,
    Telva_7 = 18,
    Telva_6 = 19,
    Ginor_7 = 20,
    Ginor_6 = 21,
    Wexal_X759k = 22,
    Wexal_X769k = 23,
    Wexal_D699 = 24,
    Wexal_D899k = 25,
    Wexal_R799 = 26,
    Wexal_R699 = 27,
    Kelto59 = 28,
    Kelto59KK = 29,
    Harlo986 = 30,
    Dalix399 = 31,
    Vorne199 = 32,
    Pundo5_7GG = 33,
    Pundo5_6GG = 34,
    Pundo5_8G = 35,
    Pundo1_6G = 36,
    Fenur_Qel = 37,
    Yalme1 = 38,
};

inline constexpr std::int32_t rawValue(PrinterModel model) {
    return static_cast<std::int32_t>(model);
}

}  // namespace PrinterCommandBuilder
