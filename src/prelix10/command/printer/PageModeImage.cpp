// The page-mode member of Image: a picture placed by coordinates in a page-mode area.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "prelix10/command/StrUtil.hpp"
#include "prelix10/command/printer/Image.hpp"
#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"
#include "prelix10/command/printer/PageModeElementBand.hpp"

namespace PrinterCommandBuilder::Printer {

namespace {
constexpr double maxOffsetMm = 300.0;
constexpr double maxWidthMm = 300.0;
constexpr double maxHeightMm = 10000.0;
}  // namespace

void Image::orvoPageModeCommon(ByteBuffer* buffer, std::string_view source, double x, double y, int width,
                               int height, PrintSettingsInformation* settings, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr || !settings->isPageMode) return;
    if (!MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) return;
    const double c = MathUtil::getMmToDotCoefficient(ModelChecker::getPrintResolution(model));
    const int maxWidth = MathUtil::mmToDotCeil(maxWidthMm, c, BaseMagnificationType::Standard);
    const int maxHeight = MathUtil::mmToDotFloor(maxHeightMm, c, BaseMagnificationType::Standard);
    if (!(x <= maxOffsetMm) || !(y <= maxOffsetMm)) return;
    if (width < 1 || width > maxWidth || height < 1 || height > maxHeight) return;

    PageModeElementBand band(buffer, settings, model);
    if (!band.open(x, y, width * c, height * c)) return;

    std::vector<std::uint8_t> raster;
    VelmarCommandParser::StrUtil::decodeBase64(source, raster);
    const int byteWidth = (width + 7) / 8;
    // The 24 row bytes of the byte column being sent, read once for its 8 dot columns. Rows and
    // bytes that the data lacks print white.
    std::uint8_t rows[24] = {};
    int cachedBand = -1;
    int cachedByte = -1;
    band.sendBands(byteWidth * 8, byteWidth * 8, false, [&](int bandIndex, int column) {
        const int byteColumn = column / 8;
        if (bandIndex != cachedBand || byteColumn != cachedByte) {
            cachedBand = bandIndex;
            cachedByte = byteColumn;
            for (int k = 0; k < 24; ++k) {
                const std::uint64_t index =
                    (static_cast<std::uint64_t>(bandIndex) * 24 + static_cast<std::uint64_t>(k)) *
                        static_cast<std::uint64_t>(byteWidth) +
                    static_cast<std::uint64_t>(byteColumn);
                rows[k] = index < raster.size() ? raster[index] : 0;
            }
        }
        const int shift = 7 - column % 8;
        std::uint32_t bits = 0;
        for (int k = 0; k < 24; ++k) bits = (bits << 1) | ((rows[k] >> shift) & 1u);
        return bits;
    });
    band.close(std::max(x, 0.0) + width * c, std::max(y, 0.0));
}

}  // namespace PrinterCommandBuilder::Printer
