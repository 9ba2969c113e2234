#include "prelix10/command/printer/QrCode.hpp"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "prelix10/command/ORVOQRCode.hpp"
#include "prelix10/command/StrUtil.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"
#include "prelix10/command/printer/SymbolRaster.hpp"

namespace PrinterCommandBuilder::Printer {

namespace {

using VelmarCommandParser::StrUtil;

constexpr std::size_t kCommandDataLimit = 65536;  // two length bytes
constexpr std::size_t kEscposDataLimit = 65533;   // the length also counts three parameter bytes
constexpr std::size_t kRasterDataLimit = 1024;

std::vector<std::uint8_t> decode(const std::string& content) {
    ByteBuffer scratch;
    StrUtil::decodeEscape(content, &scratch, nullptr, nullptr);
    return scratch.toVector();
}

template <typename T>
bool lookUp(const std::map<T, std::uint8_t>& table, T key, std::uint8_t& value) {
    const auto it = table.find(key);
    if (it == table.end()) return false;
    value = it->second;
    return true;
}

std::uint8_t low(std::size_t v) { return static_cast<std::uint8_t>(v & 0xFF); }
std::uint8_t high(std::size_t v) { return static_cast<std::uint8_t>((v >> 8) & 0xFF); }

}  // namespace

void QrCode::orvoCommon(ByteBuffer* buffer, const std::string& content, QrCodeModel qrModel,
                        QrCodeErrorCorrectionLevel level, int cellSize, PrintSettingsInformation* settings,
                        PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    if (!MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) return;
    const std::map<QrCodeModel, std::uint8_t> models = {{QrCodeModel::Model1, 0x01}, {QrCodeModel::Model2, 0x02}};
    const std::map<QrCodeErrorCorrectionLevel, std::uint8_t> levels = {
        {QrCodeErrorCorrectionLevel::L, 0x00},
        {QrCodeErrorCorrectionLevel::M, 0x01},
        {QrCodeErrorCorrectionLevel::Q, 0x02},
        {QrCodeErrorCorrectionLevel::H, 0x03}};
    std::uint8_t m = 0, e = 0;
    if (!lookUp(models, qrModel, m) || !lookUp(levels, level, e)) return;
    const int maxCell = ModelChecker::getPrintResolution(model) == PrintResolution::Dpi300 ? 12 : 8;
    const auto c = static_cast<std::uint8_t>(std::clamp(cellSize, 1, maxCell));
    const std::vector<std::uint8_t> data = decode(content);
    if (data.size() >= kCommandDataLimit) return;
    buffer->add({0x1B, 0x1D, 0x79, 0x53, 0x30, m});
    buffer->add({0x1B, 0x1D, 0x79, 0x53, 0x31, e});
    buffer->add({0x1B, 0x1D, 0x79, 0x53, 0x32, c});
    buffer->add({0x1B, 0x1D, 0x79, 0x44, 0x31, 0x00, low(data.size()), high(data.size())});
    buffer->add(data);
    buffer->add({0x1B, 0x1D, 0x79, 0x50});
    settings->isLineHead = true;
}

void QrCode::escpos(ByteBuffer* buffer, const std::string& content, QrCodeModel qrModel,
                    QrCodeErrorCorrectionLevel level, int cellSize, PrintSettingsInformation* settings) {
    if (buffer == nullptr || settings == nullptr) return;
    const std::map<QrCodeModel, std::uint8_t> models = {{QrCodeModel::Model1, 0x31}, {QrCodeModel::Model2, 0x32}};
    const std::map<QrCodeErrorCorrectionLevel, std::uint8_t> levels = {
        {QrCodeErrorCorrectionLevel::L, 0x30},
        {QrCodeErrorCorrectionLevel::M, 0x31},
        {QrCodeErrorCorrectionLevel::Q, 0x32},
        {QrCodeErrorCorrectionLevel::H, 0x33}};
    std::uint8_t m = 0, e = 0;
    if (!lookUp(models, qrModel, m) || !lookUp(levels, level, e)) return;
    const auto c = static_cast<std::uint8_t>(std::clamp(cellSize, 1, 16));
    const std::vector<std::uint8_t> data = decode(content);
    if (data.size() >= kEscposDataLimit) return;
    const std::size_t p = data.size() + 3;
    buffer->add({0x1D, 0x28, 0x6B, 0x04, 0x00, 0x31, 0x41, m, 0x00});
    buffer->add({0x1D, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x45, e});
    buffer->add({0x1D, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x43, c});
    buffer->add({0x1D, 0x28, 0x6B, low(p), high(p), 0x31, 0x50, 0x30});
    buffer->add(data);
    buffer->add({0x1D, 0x28, 0x6B, 0x03, 0x00, 0x31, 0x51, 0x30});
    settings->isLineHead = true;
}

void QrCode::escposMobile(ByteBuffer* buffer, const std::string& content, QrCodeModel,
                          QrCodeErrorCorrectionLevel level, int cellSize, PrintSettingsInformation* settings) {
    if (buffer == nullptr || settings == nullptr) return;
    const std::map<QrCodeErrorCorrectionLevel, std::uint8_t> levels = {
        {QrCodeErrorCorrectionLevel::L, 'L'},
        {QrCodeErrorCorrectionLevel::M, 'M'},
        {QrCodeErrorCorrectionLevel::Q, 'Q'},
        {QrCodeErrorCorrectionLevel::H, 'H'}};
    std::uint8_t e = 0;
    if (!lookUp(levels, level, e)) return;
    const auto c = static_cast<std::uint8_t>(std::clamp(cellSize, 1, 8));
    const std::vector<std::uint8_t> data = decode(content);
    if (data.size() >= kCommandDataLimit) return;
    if (!settings->isLineHead) buffer->add({0x0A});
    buffer->add({0x1D, 0x5A, 0x02});
    buffer->add({0x1B, 0x5A, 0x00, e, c, low(data.size()), high(data.size())});
    buffer->add(data);
    settings->isLineHead = false;
}

// The raster is always a Model 2 symbol, which every reader decodes: a Model 1 request prints the
// Model 2 symbol of the same data, level and cell size.
void QrCode::orvoGraphic(ByteBuffer* buffer, const std::string& content, QrCodeModel,
                         QrCodeErrorCorrectionLevel level, int cellSize, PrintSettingsInformation* settings) {
    if (buffer == nullptr || settings == nullptr) return;
    constexpr std::uint8_t kGeneratorModel2 = 1;
    const std::map<QrCodeErrorCorrectionLevel, std::uint8_t> levels = {
        {QrCodeErrorCorrectionLevel::L, 0},
        {QrCodeErrorCorrectionLevel::M, 1},
        {QrCodeErrorCorrectionLevel::Q, 2},
        {QrCodeErrorCorrectionLevel::H, 3}};
    std::uint8_t e = 0;
    if (!lookUp(levels, level, e)) return;
    const int scale = std::clamp(cellSize, 1, 8);
    const std::vector<std::uint8_t> data = decode(content);
    if (data.size() > kRasterDataLimit) return;

    auto information = std::make_unique<ORVOQRCodeInformationStruct>();
    ORVOQRCodeInitialize(information.get());
    information->model = kGeneratorModel2;
    information->level = e;
    information->moduleScale = static_cast<std::uint8_t>(scale);
    std::copy(data.begin(), data.end(), information->input);
    information->inputLength = static_cast<std::uint16_t>(data.size());
    information->segmentCount = ORVOQRCodeSegmentCapacity;
    if (ORVOQRCodeGenerate(information.get()) != 1) return;
    const int n = information->symbolSize;
    SymbolRaster::appendRows(buffer, &information->symbolMatrix[0][0], ORVOQRCodeMatrixRowBytes, n, n, scale);
}

void QrCode::orvoDotImpact(ByteBuffer*, const std::string&, QrCodeModel, QrCodeErrorCorrectionLevel, int,
                           PrintSettingsInformation*) {}

void QrCode::orvoYalme1(ByteBuffer*, const std::string&, QrCodeModel, QrCodeErrorCorrectionLevel, int,
                        PrintSettingsInformation*) {}

}  // namespace PrinterCommandBuilder::Printer
