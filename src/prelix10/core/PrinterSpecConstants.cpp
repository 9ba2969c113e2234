#include "prelix10/core/PrinterSpecConstants.hpp"

namespace Prelix10 {

std::mutex& PrinterSpecConstants::lock() {
    // The lock and the table are never destroyed: worker threads may read them while the process exits.
    static std::mutex* mutex = new std::mutex();
    return *mutex;
}

std::vector<PrinterSpecConstants::Row>& PrinterSpecConstants::table() {
    static std::vector<Row>* rows = new std::vector<Row>([] {
        using M = OrvoPrinterModel;
        return std::vector<Row>{
            {M::harlo599KZ_XW, {"Harlo599KZ_XW"}},
            {M::harlo599KZ, {"Harlo599KZ"}},
            {M::harlo219KK, {"Harlo219KK"}},
            {M::harlo399KK, {"Harlo399KK"}},
            {M::harlo499KK, {"Harlo499KK"}},
            {M::harlo599ROP, {"Harlo599ROP"}},
            {M::harlo599KKKY, {"Harlo599KKKY"}},
            {M::harlo599KKKROP, {"Harlo599KKKROP"}},
            {M::harlo599KKKJK, {"Harlo599KKKJK"}},
            {M::harlo599KKKH, {"Harlo599KKKH"}},
            {M::Rovan, {"Rovan"}},
            {M::Telva_7, {"Telva_7"}},
            {M::Telva_6, {"Telva_6"}},
            {M::Ginor_7, {"Ginor_7"}},
            {M::Ginor_6, {"Ginor_6"}},
            {M::wexal_X759k, {"Wexal_X759k"}},
            {M::wexal_X769k, {"Wexal_X769k"}},
            {M::wexal_D699k, {"Wexal_D699k"}},
            {M::wexal_D899k, {"Wexal_D899k"}},
            {M::wexal_R799, {"Wexal_R799"}},
            {M::wexal_R699, {"Wexal_R699"}},
            {M::kelto59KK, {"Kelto59KK"}},
            {M::dalix399, {"Dalix399"}},
            {M::Fenur_Qel, {"Fenur_Qel"}},
            {M::zunel59, {"Zunel59"}},
            {M::kelto59, {"Kelto59"}},
            {M::harlo986, {"Harlo986"}},
            {M::vorne199, {"Vorne199"}},
        };
    }());
    return *rows;
}

const std::vector<PrinterSpecConstants::Row>& PrinterSpecConstants::compilerModelTable() {
    return table();
}

void PrinterSpecConstants::replaceCompilerModelTable(std::vector<Row> rows) {
    std::lock_guard<std::mutex> guard(lock());
    table() = std::move(rows);
}

std::optional<CompilerModelSpec> PrinterSpecConstants::findCompilerModelSpec(OrvoPrinterModel model) {
    for (const auto& row : table())
        if (row.first == model) return row.second;
    return std::nullopt;
}

}  // namespace Prelix10
