#include "prelix10/command/PrinterModelFactory.hpp"

#include <map>

namespace PrinterCommandBuilder {

namespace {
const std::map<std::string, PrinterModel>& nameTable() {
    using M = PrinterModel;
    static const std::map<std::string, PrinterModel> table = {
        {"OEM", M::OEM},
        {"Harlo219KK", M::Harlo219KK},
        {"Harlo399KK", M::Harlo399KK},
        {"Harlo499KK", M::Harlo499KK},
        {"Zunel59", M::Zunel59},
        {"Harlo599H", M::Harlo599H},
        {"Harlo599MD", M::Harlo599MD},
        {"Harlo599FTQ", M::Harlo599FTQ},
        {"Harlo599KKH+", M::Harlo599KKHPlus},
        {"Harlo599ROP", M::Harlo599ROP},
        {"Harlo599KKKY", M::Harlo599KKKY},
        {"Harlo599KKKROP", M::Harlo599KKKROP},
        {"Harlo599KKKJK", M::Harlo599KKKJK},
        {"Harlo599KKKH", M::Harlo599KKKH},
        {"Harlo599KZ", M::Harlo599KZ},
        {"Harlo599KZ_XW", M::Harlo599KZ_XW},
        {"Rovan", M::Rovan},
        {"Telva_7", M::Telva_7},
        {"Telva_6", M::Telva_6},
        {"Ginor_7", M::Ginor_7},
        {"Ginor_6", M::Ginor_6},
        {"Wexal_X759k", M::Wexal_X759k},
        {"Wexal_X769k", M::Wexal_X769k},
        {"Wexal_D699", M::Wexal_D699},
        {"Wexal_D699k", M::Wexal_D699},
        {"Wexal_D899k", M::Wexal_D899k},
        {"Wexal_R799", M::Wexal_R799},
        {"Wexal_R699", M::Wexal_R699},
        {"Kelto59", M::Kelto59},
        {"Kelto59KK", M::Kelto59KK},
        {"Harlo986", M::Harlo986},
        {"Dalix399", M::Dalix399},
        {"Vorne199", M::Vorne199},
        {"Pundo5_7GG", M::Pundo5_7GG},
        {"Pundo5_6GG", M::Pundo5_6GG},
        {"Pundo5_8G", M::Pundo5_8G},
        {"Pundo1_6G", M::Pundo1_6G},
        {"Fenur_Qel", M::Fenur_Qel},
        {"Yalme1", M::Yalme1},
    };
    return table;
}
}  // namespace

std::vector<std::string> PrinterModelFactory::names() {
    std::vector<std::string> all;
    for (const auto& [name, model] : nameTable()) all.push_back(name);
    return all;
}

PrinterModelFactory::PrinterModelFactory(const std::string& name) {
    const auto found = nameTable().find(name);
    if (found != nameTable().end()) model_ = found->second;
}

}  // namespace PrinterCommandBuilder
