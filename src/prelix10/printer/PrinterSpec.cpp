#include "prelix10/printer/PrinterSpec.hpp"

#include "prelix10/core/PrinterSpecConstants.hpp"

namespace Prelix10 {

namespace {

using M = OrvoPrinterModel;
using E = OrvoPrinterEmulation;
using A = EAAccessoryType;

ModelNamePattern pat(std::string strict, std::optional<std::string> fallback = std::nullopt) {
    return {std::move(strict), std::move(fallback)};
}

std::shared_ptr<const FirmwareUpdateCapability> fw(bool update, bool detail, bool config) {
    return std::make_shared<const FirmwareUpdateCapability>(update, detail, config);
}

// The capability columns, in table order.
struct Caps {
    std::vector<A> kinds;
    A fallbackKind = A::unknown;
    bool statusVia9100 = false;
    bool bleWriteWithoutResponse = false;
    int bleDelay = 0;
    bool autoSwitch = false;
    bool inputDevice = false;
    bool display = false;
    bool portOpen = true;
    bool spool = false;
    bool config = false;
    bool commandAvailability = false;
    std::shared_ptr<const FirmwareUpdateCapability> firmware;
};

PrinterSpec spec(E emulation, std::string compilerName, ModelNamePattern firmware, Caps caps) {
    PrinterSpec s;
    s.emulation = emulation;
    s.velmarCommandParserModelName = std::move(compilerName);
    s.firmwareNamePattern = std::move(firmware);
    s.supportedAccessoryTypes = std::move(caps.kinds);
    s.fallbackSupportedAccessoryType = caps.fallbackKind;
    s.isGetStatusViaTcp9100 = caps.statusVia9100;
    s.bluetoothLeWriteWithoutResponse = caps.bleWriteWithoutResponse;
    s.bluetoothLeConnectDelay = caps.bleDelay;
    s.supportAutoSwitchInterface = caps.autoSwitch;
    s.supportInputDevice = caps.inputDevice;
    s.supportDisplay = caps.display;
    s.supportPortOpen = caps.portOpen;
    s.supportSpoolPrint = caps.spool;
    s.supportOrvoConfig = caps.config;
    s.supportGetCommandAvailableInformation = caps.commandAvailability;
    s.firmwareUpdateCapability = std::move(caps.firmware);
    return s;
}

std::vector<PrinterSpecTable::Row> buildBase() {
    std::vector<PrinterSpecTable::Row> rows;
    const Caps kz{{A::usb, A::bluetooth}, A::unknown, false, false, 0, true, true, true, true, false, false, true,
                  fw(true, true, false)};
    {
        PrinterSpec s = spec(E::kestrin, "Harlo599KZ_XW", pat("^Harlo5[0-9]{2}KZ.*XW.*", "^Harlo5[0-9]{2}.*XW.*"), kz);
        s.deviceModelPattern = pat("^Harlo5[0-9]{2}KZ.*\\(ORV-001\\)$", "^Harlo5[0-9]{2}.*\\(ORV-001\\)$");
        s.exModelNamePattern = s.accessoryModelNumberPattern = s.peripheralNamePattern = s.firmwareNamePattern;
        s.detectModelByExModelName = true;
        s.minimumRsVersion = "4.0.0";
        rows.emplace_back(M::harlo599KZ_XW, s);
    }
    {
        PrinterSpec s = spec(E::kestrin, "Harlo599KZ", pat("^Harlo5[0-9]{2}KZ.*", "^Harlo5[0-9]{2}.*"), kz);
        s.deviceModelPattern = pat("^Harlo5[0-9]{2}KZ.*\\(ORV-001\\)$", "^Harlo5[0-9]{2}.*\\(ORV-001\\)$");
        s.exModelNamePattern = s.accessoryModelNumberPattern = s.peripheralNamePattern = s.firmwareNamePattern;
        s.detectModelByExModelName = true;
        s.minimumRsVersion = "4.0.0";
        rows.emplace_back(M::harlo599KZ, s);
    }
    auto lan = [&](M model, E emulation, const char* name, const char* firmware, const char* device, Caps caps) {
        PrinterSpec s = spec(emulation, name, pat(firmware), std::move(caps));
        if (device) s.deviceModelPattern = pat(device);
        rows.emplace_back(model, s);
        return &rows.back().second;
    };
    Caps bt{};
    bt.kinds = {A::bluetooth};
    const Caps none{};
    lan(M::harlo219KK, E::orvoLine, "Harlo219KK", "^Harlo219KK.*", "^Harlo21[0-9] \\(ORV_T-001\\)$", bt);
    lan(M::harlo399KK, E::orvoLine, "Harlo399KK", "^Harlo399KK.*", "^Harlo3[0-9]{2}KK \\(ORV_T-001\\)$", bt);
    lan(M::harlo499KK, E::orvoLine, "Harlo499KK", "^Harlo499KK.*", "^Harlo4[0-9]{2}KK \\(ORV_T-001\\)$", bt);
    lan(M::harlo599ROP, E::orvoGraphic, "Harlo599ROP", "", "^Harlo5[0-9]{2} \\(ORV_T-001\\)$", none);
    Caps fwOnly{};
    fwOnly.firmware = fw(true, false, false);
    lan(M::harlo599KKKY, E::orvoGraphic, "Harlo599KKKY", "^Harlo599KKKY.*", "^Harlo5[0-9]{2}KKKY \\(ORV_T-001\\)$",
        fwOnly);
    lan(M::harlo599KKKROP, E::orvoGraphic, "Harlo599KKKROP", "^Harlo599KKKROP.*",
        "^Harlo5[0-9]{2}KKKROP \\(ORV_T-001\\)$", fwOnly);
    Caps btFw = fwOnly;
    btFw.kinds = {A::bluetooth};
    lan(M::harlo599KKKJK, E::orvoGraphic, "Harlo599KKKJK", "^Harlo599KKKJ.*", nullptr, btFw)
        ->accessoryModelNumberPattern = pat("^Harlo586KKKJK.*");
    Caps usbDisplay = fwOnly;
    usbDisplay.kinds = {A::usb};
    usbDisplay.display = true;
    lan(M::harlo599KKKH, E::orvoGraphic, "Harlo599KKKH", "^Harlo599KKKH.*", nullptr, usbDisplay)
        ->accessoryModelNumberPattern = pat("^Harlo586KKKH.*");
    Caps rovan{{A::usb, A::bluetooth}, A::bluetooth, false, false, 0, false, true, true, true, false, false, false,
               fw(true, true, false)};
    lan(M::Rovan, E::kestrin, "Rovan", "^Rovan[0-9]{2}.*", nullptr, rovan)->accessoryModelNumberPattern =
        pat("^Rovan[0-9]{2}.*");
    Caps telva{{A::usb, A::bluetooth}, A::unknown, false, false, 0, true, true, true, true, false, false, false,
               fw(true, true, false)};
    lan(M::Telva_7, E::kestrin, "Telva_7", "^Telva-7.*", "^Telva7[0-9].*\\(ORV-001\\)$", telva)
        ->accessoryModelNumberPattern = pat("^Telva7[0-9].*");
    lan(M::Telva_6, E::kestrin, "Telva_6", "^Telva-6.*", "^Telva6[0-9].*\\(ORV-001\\)$", telva)
        ->accessoryModelNumberPattern = pat("^Telva6[0-9].*");
    Caps ginor7{{A::usb, A::bluetooth}, A::unknown, false, true, 2000, true, true, true, true, false, true, true,
                fw(true, true, false)};
    PrinterSpec* g7 = lan(M::Ginor_7, E::kestrin, "Ginor_7", "^Ginor-7.*", "^Ginor7[0-9].*\\(ORV-001\\)$", ginor7);
    g7->accessoryModelNumberPattern = pat("^Ginor7[0-9].*");
    g7->peripheralNamePattern = pat("^Ginor-7.*");
    Caps ginor6{{A::usb, A::bluetooth}, A::unknown, true, false, 0, true, true, true, true, true, true, true,
                fw(true, true, true)};
    lan(M::Ginor_6, E::kestrin, "Ginor_6", "^Ginor-6.*", "^Ginor6[0-9].*\\(ORV-001\\)$", ginor6)
        ->accessoryModelNumberPattern = pat("^Ginor6[0-9].*");
    lan(M::wexal_X759k, E::unknown, "Wexal_X759k", "^Wexal-X75[0-9]K.*", nullptr, bt)->accessoryModelNumberPattern =
        pat("^Wexal-X75[0-9].*");
    lan(M::wexal_X769k, E::unknown, "Wexal_X769k", "^Wexal-X76[0-9]K.*", nullptr, bt)->accessoryModelNumberPattern =
        pat("^Wexal-X76[0-9].*");
    lan(M::wexal_D699k, E::unknown, "Wexal_D699k", "^Wexal-D69[0-9]K.*", nullptr, bt)->accessoryModelNumberPattern =
        pat("^Wexal-D69[0-9].*");
    lan(M::wexal_D899k, E::unknown, "Wexal_D899k", "^Wexal-D89[0-9]K.*", nullptr, bt)->accessoryModelNumberPattern =
        pat("^Wexal-D89[0-9].*");
    lan(M::wexal_R799, E::kestrin, "Wexal_R799", "^Wexal-R79[0-9].*", nullptr, none)->peripheralNamePattern =
        pat("^Wexal-R79[0-9].*");
    lan(M::wexal_R699, E::kestrin, "Wexal_R699", "^Wexal-R69[0-9].*", nullptr, none)->peripheralNamePattern =
        pat("^Wexal-R69[0-9].*");
    {
        Caps caps{};
        caps.commandAvailability = true;
        caps.firmware = fw(true, true, false);
        PrinterSpec s = spec(E::kestrin, "Kelto59KK", pat("^Kelto[0-9]{2}KKVer.*", "^Kelto[0-9]{2}.*"), caps);
        s.deviceModelPattern = pat("^Kelto[0-9]{2}KK \\(ORV-001\\)$", "^Kelto[0-9]{2}.*\\(ORV-001\\)$");
        rows.emplace_back(M::kelto59KK, s);
    }
    lan(M::dalix399, E::orvoDot, "Dalix399", "^X3.*", "^Dalix3[0-9]{2} \\(ORV-001\\)$", bt);
    Caps fenur{{}, A::unknown, true, false, 0, true, false, false, true, false, true, true, fw(true, true, false)};
    PrinterSpec* fq = lan(M::Fenur_Qel, E::kestrin, "Fenur_Qel", "^Fenur-Qel.*", "^Fenur[0-9]{2}.*\\(ORV-001\\)$", fenur);
    fq->peripheralNamePattern = pat("^Fenur[0-9]{2}.*");
    fq->minimumRsVersion = "4.0.1";
    return rows;
}

std::vector<PrinterSpecTable::Row> buildAdded() {
    std::vector<PrinterSpecTable::Row> rows;
    auto add = [&](M model, E emulation, const char* name, const char* firmware, const char* device, Caps caps) {
        PrinterSpec s = spec(emulation, name, pat(firmware), std::move(caps));
        s.deviceModelPattern = pat(device);
        rows.emplace_back(model, s);
    };
    Caps zunel{};
    zunel.kinds = {A::bluetooth};
    zunel.portOpen = false;
    add(M::zunel59, E::orvoLine, "Zunel59", "^Zunel59.*", "^Zunel59 \\(ORV_T-001\\)$", zunel);
    add(M::kelto59, E::escPos, "Kelto59", "^Kelto59(JN| ROP| ROP JN)?(J5P|J8P)?Ver.*", "^Kelto[0-9]{2}.*\\(ESP-001\\)$",
        Caps{});
    add(M::harlo986, E::escPos, "Harlo986", "^Harlo986.*", "^Harlo986 \\(ESP-001\\)$", Caps{});
    add(M::vorne199, E::orvoLine, "Vorne199", "^DJ1.*", "^Vorne1[0-9]{2} \\(ORV_T-001\\)$", Caps{});
    return rows;
}

}  // namespace

const std::vector<PrinterSpecTable::Row>& PrinterSpecTable::baseSpecTable() {
    // Never destroyed: discovery and open read it from worker threads, which may still run at exit.
    static const std::vector<Row>* rows = new std::vector<Row>(buildBase());
    return *rows;
}

const std::vector<PrinterSpecTable::Row>& PrinterSpecTable::specTable() {
    // Never destroyed, like the base table.
    static const std::vector<Row>* rows = new std::vector<Row>([] {
        std::vector<Row> all = baseSpecTable();
        for (auto& row : buildAdded()) all.push_back(std::move(row));
        // The compile call reads the model names from the core's table; hand it ours.
        std::vector<PrinterSpecConstants::Row> names;
        names.reserve(all.size());
        for (const auto& [model, s] : all) names.emplace_back(model, CompilerModelSpec{s.velmarCommandParserModelName});
        PrinterSpecConstants::replaceCompilerModelTable(std::move(names));
        return all;
    }());
    return *rows;
}

std::optional<PrinterSpec> PrinterSpecTable::findSpecLocked(OrvoPrinterModel model) {
    for (const auto& [key, s] : specTable())
        if (key == model) return s;
    return std::nullopt;
}

std::optional<PrinterSpec> PrinterSpecTable::findSpec(OrvoPrinterModel model) {
    specTable();
    std::lock_guard guard(PrinterSpecConstants::lock());
    return findSpecLocked(model);
}

}  // namespace Prelix10
