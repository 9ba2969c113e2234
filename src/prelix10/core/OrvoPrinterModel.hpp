#pragma once

#include "prelix10/core/Export.hpp"
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Prelix10 {

// The printer models the library knows.
enum class OrvoPrinterModel : int {
    unknown = 0,
    harlo219KK = 1,
    harlo399KK = 2,
    harlo499KK = 3,
    zunel59 = 4,
    harlo599ROP = 5,
    harlo599KKKY = 6,
    harlo599KKKROP = 7,
    harlo599KKKJK = 8,
    harlo599KKKH = 9,
    harlo599KZ_XW = 10,
    harlo599KZ = 11,
    Rovan = 12,
    Telva_7 = 13,
    Telva_6 = 14,
    Ginor_7 = 15,
    Ginor_6 = 16,
    wexal_X759k = 17,
    wexal_X769k = 18,
    wexal_D699k = 19,
    wexal_D899k = 20,
    wexal_R799 = 21,
    wexal_R699 = 22,
    kelto59KK = 23,
    kelto59 = 24,
    harlo986 = 25,
    dalix399 = 26,
    vorne199 = 27,
    Fenur_Qel = 28,
};

namespace PrinterModels PRELIX10_EXPORT {
// Nothing for raw values outside 0..28.
std::optional<OrvoPrinterModel> fromRawValue(std::int64_t raw);
// The case name, e.g. "harlo599KZ".
std::string description(OrvoPrinterModel model);
inline int rawValue(OrvoPrinterModel model) {
    return static_cast<int>(model);
}
const std::vector<OrvoPrinterModel>& allCases();
}  // namespace PrinterModels

// The interfaces a printer reports as mounted.
class PRELIX10_EXPORT MountedInterfaces {
  public:
    MountedInterfaces() = default;
    // Sets one flag per name that equals a known interface name exactly; other names are ignored.
    explicit MountedInterfaces(const std::vector<std::string>& interfaces);

    bool hasBluetooth = false;
    bool hasBluetoothNoMFi = false;
    bool hasBle = false;
    bool hasEthernet = false;
    bool hasUSB_A = false;
    bool hasUSB_B = false;
    bool hasUSB_C = false;
    bool hasUSB_C_I = false;
    bool hasUSB_C_CDC = false;
    bool hasWlan = false;

    bool operator==(const MountedInterfaces& other) const = default;
};

// The hardware variants of some models, told apart by their mounted interfaces.
enum class PrinterModelDetail {
    none,
    ginor75tyjk,
    ginor75tk,
    ginor67tjk,
    ginor67tk,
    telva65rj,
    telva65r,
    telva65tj,
    telva65t,
    telva65tk,
    telva65tjk,
    telva69,
    telva75rj,
    telva79j,
    telva79,
    rovan59,
    rovan59tk,
    rovan59tjk,
    harlo586kzHf,
    harlo586kzHfXw,
    harlo586kzHfyj,
    harlo586kzHfyjXw,
    harlo599KKKRop,
    harlo599KKKY,
    harlo599KKKJK,
    harlo599KKKH,
    kelto59kkHf,
    fenur59hfyj,
};

namespace PrinterModelDetails PRELIX10_EXPORT {
struct PRELIX10_EXPORT Content {
    OrvoPrinterModel printerModel;
    std::shared_ptr<MountedInterfaces> mountedInterfaces;
    std::optional<std::shared_ptr<MountedInterfaces>> verUpMountedInterfaces;
};

// Every case, in table order.
const std::vector<PrinterModelDetail>& allCases();
// The variant name, e.g. "Harlo586KZ-HF".
const std::string& rawValue(PrinterModelDetail detail);
std::optional<PrinterModelDetail> fromRawValue(const std::string& raw);
const Content& content(PrinterModelDetail detail);
// The variant of a model from the interfaces the printer reports; none when no variant matches.
PrinterModelDetail lookup(OrvoPrinterModel printerModel, const MountedInterfaces& mountedInterfaces);
}  // namespace PrinterModelDetails

}  // namespace Prelix10
