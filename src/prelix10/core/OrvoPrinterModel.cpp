#include "prelix10/core/OrvoPrinterModel.hpp"

#include <array>

namespace Prelix10 {

namespace PrinterModels {

namespace {
const std::array<const char*, 29> kNames = {
    "unknown",      "harlo219KK",     "harlo399KK",    "harlo499KK",   "zunel59",       "harlo599ROP",
    "harlo599KKKY", "harlo599KKKROP", "harlo599KKKJK", "harlo599KKKH", "harlo599KZ_XW", "harlo599KZ",
    "Rovan",        "Telva_7",        "Telva_6",       "Ginor_7",      "Ginor_6",       "wexal_X759k",
    "wexal_X769k",  "wexal_D699k",    "wexal_D899k",   "wexal_R799",   "wexal_R699",    "kelto59KK",
    "kelto59",      "harlo986",       "dalix399",      "vorne199",     "Fenur_Qel",
};
}  // namespace

std::optional<OrvoPrinterModel> fromRawValue(std::int64_t raw) {
    if (raw < 0 || raw > 28) return std::nullopt;
    return static_cast<OrvoPrinterModel>(raw);
}

std::string description(OrvoPrinterModel model) {
    const int raw = static_cast<int>(model);
    if (raw < 0 || raw > 28) return "unknown";
    return kNames[static_cast<std::size_t>(raw)];
}

const std::vector<OrvoPrinterModel>& allCases() {
    static const std::vector<OrvoPrinterModel> cases = [] {
        std::vector<OrvoPrinterModel> all;
        for (int i = 0; i <= 28; ++i) all.push_back(static_cast<OrvoPrinterModel>(i));
        return all;
    }();
    return cases;
}

}  // namespace PrinterModels

MountedInterfaces::MountedInterfaces(const std::vector<std::string>& interfaces) {
    for (const auto& name : interfaces) {
        if (name == "USB-A")
            hasUSB_A = true;
        else if (name == "USB-B")
            hasUSB_B = true;
        else if (name == "USB-C")
            hasUSB_C = true;
        else if (name == "USB-C-I")
            hasUSB_C_I = true;
        else if (name == "USB-C-CDC")
            hasUSB_C_CDC = true;
        else if (name == "BT-I")
            hasBluetooth = true;
        else if (name == "BT")
            hasBluetoothNoMFi = true;
        else if (name == "BLE")
            hasBle = true;
        else if (name == "ETHERNET")
            hasEthernet = true;
        else if (name == "WLAN")
            hasWlan = true;
    }
}

namespace PrinterModelDetails {

namespace {

// Flags in the order BT, BT no MFi, BLE, Ethernet, USB-A, USB-B, USB-C, USB-C-I, USB-C-CDC, WLAN.
std::shared_ptr<MountedInterfaces> interfacesFrom(const char* flags) {
    auto set = std::make_shared<MountedInterfaces>();
    bool* fields[] = {
        &set->hasBluetooth, &set->hasBluetoothNoMFi, &set->hasBle,     &set->hasEthernet,  &set->hasUSB_A,
        &set->hasUSB_B,     &set->hasUSB_C,          &set->hasUSB_C_I, &set->hasUSB_C_CDC, &set->hasWlan};
    for (int i = 0; i < 10 && flags[i]; ++i) *fields[i] = flags[i] == 'x';
    return set;
}

struct Row {
    PrinterModelDetail detail;
    const char* rawValue;
    OrvoPrinterModel model;
    const char* flags;
    const char* verUpFlags;
};

const std::vector<Row>& rows() {
    using D = PrinterModelDetail;
    using M = OrvoPrinterModel;
    static const std::vector<Row> table = {
        {D::none, "none", M::unknown, "----------", nullptr},
        {D::ginor75tyjk, "Ginor75TYJK", M::Ginor_7, "x--x--xx-x", "x-xx--xx-x"},
        {D::ginor75tk, "Ginor75TK", M::Ginor_7, "---x--xx--", nullptr},
        {D::ginor67tjk, "Ginor67TJK", M::Ginor_6, "x--x--xx--", nullptr},
        {D::ginor67tk, "Ginor67TK", M::Ginor_6, "---x--xx--", nullptr},
        {D::telva65rj, "Telva65RJ", M::Telva_6, "x--xxx----", nullptr},
        {D::telva65r, "Telva65R", M::Telva_6, "---xxx----", nullptr},
        {D::telva65tj, "Telva65TJ", M::Telva_6, "-x-x--x---", nullptr},
        {D::telva65t, "Telva65T", M::Telva_6, "---x--x---", nullptr},
        {D::telva65tk, "Telva65TK", M::Telva_6, "---x--xx--", nullptr},
        {D::telva65tjk, "Telva65TJK", M::Telva_6, "x--x--xx--", nullptr},
        {D::telva69, "Telva69", M::Telva_6, "---x-x----", nullptr},
        {D::telva75rj, "Telva75RJ", M::Telva_7, "x--xxx----", nullptr},
        {D::telva79j, "Telva79J", M::Telva_7, "x--x-x----", nullptr},
        {D::telva79, "Telva79", M::Telva_7, "---x-x----", nullptr},
        {D::rovan59, "Rovan59", M::Rovan, "x----x----", nullptr},
        {D::rovan59tk, "Rovan59TK", M::Rovan, "-----x-x--", nullptr},
        {D::rovan59tjk, "Rovan59TJK", M::Rovan, "x----x-x--", nullptr},
        {D::harlo586kzHf, "Harlo586KZ-HF", M::harlo599KZ, "---x--x---", nullptr},
        {D::harlo586kzHfXw, "Harlo586KZ-HF XW", M::harlo599KZ_XW, "---x--x---", nullptr},
        {D::harlo586kzHfyj, "Harlo586KZ-HFYJ", M::harlo599KZ, "x--x--x--x", nullptr},
        {D::harlo586kzHfyjXw, "Harlo586KZ-HFYJ XW", M::harlo599KZ_XW, "x--x--x--x", nullptr},
        {D::harlo599KKKRop, "Harlo586KKKROP", M::harlo599KKKROP, "---x------", nullptr},
        {D::harlo599KKKY, "Harlo586KKKY", M::harlo599KKKY, "---x------", nullptr},
        {D::harlo599KKKJK, "Harlo586KKKJK", M::harlo599KKKJK, "x---------", nullptr},
        {D::harlo599KKKH, "Harlo586KKKH", M::harlo599KKKH, "----xx----", nullptr},
        {D::kelto59kkHf, "Kelto59KK-HF", M::kelto59KK, "---x--x---", nullptr},
        {D::fenur59hfyj, "Fenur59HFYJ", M::Fenur_Qel, "--xx----xx", nullptr},
    };
    return table;
}

const std::vector<Content>& contents() {
    static const std::vector<Content> table = [] {
        std::vector<Content> all;
        for (const auto& row : rows()) {
            Content c{row.model, interfacesFrom(row.flags), std::nullopt};
            if (row.verUpFlags) c.verUpMountedInterfaces = interfacesFrom(row.verUpFlags);
            all.push_back(std::move(c));
        }
        return all;
    }();
    return table;
}

}  // namespace

const std::vector<PrinterModelDetail>& allCases() {
    static const std::vector<PrinterModelDetail> cases = [] {
        std::vector<PrinterModelDetail> all;
        for (const auto& row : rows()) all.push_back(row.detail);
        return all;
    }();
    return cases;
}

const std::string& rawValue(PrinterModelDetail detail) {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const auto& row : rows()) all.emplace_back(row.rawValue);
        return all;
    }();
    const auto index = static_cast<std::size_t>(detail);
    return index < names.size() ? names[index] : names[0];
}

std::optional<PrinterModelDetail> fromRawValue(const std::string& raw) {
    for (const auto& row : rows())
        if (raw == row.rawValue) return row.detail;
    return std::nullopt;
}

const Content& content(PrinterModelDetail detail) {
    const auto index = static_cast<std::size_t>(detail);
    return contents()[index < contents().size() ? index : 0];
}

PrinterModelDetail lookup(OrvoPrinterModel printerModel, const MountedInterfaces& mountedInterfaces) {
    const auto& cases = allCases();
    std::vector<PrinterModelDetail> collected;
    for (auto detail : cases)
        if (content(detail).printerModel == printerModel) collected.push_back(detail);
    if (collected.size() == 1) return collected.front();
    for (auto detail : cases) {
        const auto& c = content(detail);
        if (c.printerModel == printerModel && *c.mountedInterfaces == mountedInterfaces) return detail;
    }
    for (auto detail : cases) {
        const auto& c = content(detail);
        if (c.printerModel == printerModel && c.verUpMountedInterfaces &&
            **c.verUpMountedInterfaces == mountedInterfaces)
            return detail;
    }
    return PrinterModelDetail::none;
}

}  // namespace PrinterModelDetails

}  // namespace Prelix10
