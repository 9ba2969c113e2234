// Arbitrary page-mode actions on the page printer emulation: areas, directions, moves, pictures,
// ruled lines, rectangles and nested levels in any order and with any values. No creator may read
// or write out of bounds, every opened level must close, and the stack must end empty.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "prelix10/command/BuilderFactory.hpp"
#include "prelix10/command/ByteBuffer.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;

namespace {

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    // Mostly millimetres of a page, sometimes extreme values.
    double mm() {
        const std::uint8_t kind = byte();
        const double small = static_cast<double>(static_cast<std::int16_t>(byte() | (byte() << 8))) / 64.0;
        switch (kind % 16) {
            case 0:
                return 1e300;
            case 1:
                return -1e300;
            case 2:
                return std::numeric_limits<double>::infinity();
            case 3:
                return std::numeric_limits<double>::quiet_NaN();
            case 4:
                return small * 1000.0;
            default:
                return small;
        }
    }
    int dots() { return static_cast<std::int16_t>(byte() | (byte() << 8)); }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    ByteBuffer buffer;
    // Models around the ones with page mode, the 300-dpi one among them.
    const auto model = static_cast<PrinterModel>(14 + in.byte() % 17);
    auto root = BuilderFactory("Kestrin", &buffer, model).create();
    if (!root) return 0;
    Builder* printer = root->getPrinterBuilder();
    PageModeBuilder* pageMode = root->getPrinterPageModeBuilder();
    printer->notifyRank(1);
    std::size_t rank = 1;
    const std::string picture(reinterpret_cast<const char*>(data), size);
    for (int step = 0; step < 64 && !in.empty(); ++step) {
        switch (in.byte() % 12) {
            case 0:
                if (rank < 6) pageMode->notifyRank(++rank);
                break;
            case 1:
                if (rank > 1) pageMode->notifyRank(--rank);
                break;
            case 2: {
                const double x = in.mm(), y = in.mm(), w = in.mm(), h = in.mm();
                pageMode->appendArea(x, y, w, h);
                break;
            }
            case 3:
                pageMode->stylePrintDirection(static_cast<PrintDirection>(in.byte() % 5));
                break;
            case 4:
                pageMode->styleVerticalPositionBy(in.mm());
                break;
            case 5:
                pageMode->styleVerticalPositionTo(in.mm());
                break;
            case 6: {
                const double x1 = in.mm(), y1 = in.mm(), x2 = in.mm(), y2 = in.mm(), t = in.mm();
                pageMode->appendRuledLine(x1, y1, x2, y2, t, static_cast<LineStyle>(in.byte() % 3));
                break;
            }
            case 7: {
                const double x = in.mm(), y = in.mm(), w = in.mm(), h = in.mm(), t = in.mm();
                const auto style = static_cast<LineStyle>(in.byte() % 3);
                const bool round = in.byte() & 1;
                pageMode->appendRectangle(x, y, w, h, t, style, round, in.mm());
                break;
            }
            case 8: {
                const double x = in.mm(), y = in.mm();
                const int w = in.dots() % 600, h = in.dots() % 600;
                pageMode->appendImage(picture, x, y, w, h);
                break;
            }
            case 9:
                pageMode->appendText("ab\n", TextWidthParameter{});
                break;
            case 10:
                pageMode->appendDecorationBaseMagnification(
                    static_cast<BaseMagnificationType>(in.byte() % 2));
                break;
            default:
                pageMode->appendHorizontalPositionBy(in.mm());
                break;
        }
    }
    pageMode->notifyRank(1);
    printer->notifyRank(0);
    if (!root->settingsStack().empty()) __builtin_trap();
    return 0;
}
