#include "prelix10/command/printer/ImageCommandCreator.hpp"

#include <algorithm>

#include "prelix10/command/RasterBandCutter.hpp"
#include "prelix10/command/RasterCommands.hpp"
#include "prelix10/command/RunLengthEncoder.hpp"

namespace PrinterCommandBuilder::Printer {

namespace {

std::uint8_t low(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::uint8_t high(int value) {
    return static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

class ImageCommandCreatorSink : public RasterBandSink {
  public:
    explicit ImageCommandCreatorSink(ImageCommandCreator& creator) : creator_(creator) {}
    void feed(std::size_t rows) override { creator_.createFeedCommand(rows); }
    void band(const std::uint8_t* data, int width, int stride, int rows) override {
        creator_.createReduceImageCommand(data, width, stride, rows);
    }

  private:
    ImageCommandCreator& creator_;
};

void ImageCommandCreator::create(const std::vector<std::uint8_t>& source, int byteWidth, int height,
                                 AlignmentType alignment, ByteBuffer* output) {
    if (output == nullptr || byteWidth < 1 || height < 1) {
        return;
    }
    output_ = output;
    const int rowWidth = std::min(maxWidthBytes_, byteWidth);
    const std::vector<std::uint8_t> raster =
        RasterBandCutter::workingRaster(source.data(), source.size(), static_cast<std::size_t>(byteWidth),
                                        static_cast<std::size_t>(rowWidth), static_cast<std::size_t>(height));
    const bool leftAligned = alignment != AlignmentType::Center && alignment != AlignmentType::Right;
    ImageCommandCreatorSink sink(*this);
    RasterBandCutter::cut(raster.data(), rowWidth, height, leftAligned, leftBandRows_, alignedBandRows_,
                          sink);
    output_ = nullptr;
}

void ImageCommandCreator::addRows(const std::uint8_t* data, int width, int stride, int rows) {
    if (width == stride) {
        output_->add(data, static_cast<std::size_t>(width) * static_cast<std::size_t>(rows));
        return;
    }
    for (int r = 0; r < rows; ++r) {
        output_->add(data + static_cast<std::size_t>(r) * static_cast<std::size_t>(stride),
                     static_cast<std::size_t>(width));
    }
}

void KestrinImageCommandCreator::createFeedCommand(std::size_t rows) {
    std::vector<std::uint8_t> bytes;
    RasterCommands::appendDotFeed(bytes, 0x49, rows);
    output_->add(bytes);
}

void KestrinImageCommandCreator::createReduceImageCommand(const std::uint8_t* data, int width, int stride,
                                                          int rows) {
    if (width <= 0 || rows <= 0) {
        return;
    }
    output_->add({0x1B, 0x1D, 0x53, 0x01, low(width), high(width), low(rows), high(rows), 0x00});
    addRows(data, width, stride, rows);
}

void OrvoGraphicImageCommandCreator::createFeedCommand(std::size_t rows) {
    std::vector<std::uint8_t> bytes;
    RasterCommands::appendRasterFeed(bytes, rows);
    output_->add(bytes);
}

void OrvoGraphicImageCommandCreator::createReduceImageCommand(const std::uint8_t* data, int width, int,
                                                              int rows) {
    if (width <= 0 || rows != 1) {
        return;
    }
    output_->add({0x62, low(width), high(width)});
    output_->add(data, static_cast<std::size_t>(width));
}

void EscposImageCommandCreator::createFeedCommand(std::size_t rows) {
    std::vector<std::uint8_t> bytes;
    RasterCommands::appendDotFeed(bytes, 0x4A, rows);
    output_->add(bytes);
}

void EscposImageCommandCreator::createReduceImageCommand(const std::uint8_t* data, int width, int stride,
                                                         int rows) {
    if (width <= 0 || rows <= 0) {
        return;
    }
    output_->add({0x1D, 0x76, 0x30, 0x00, low(width), high(width), low(rows), high(rows)});
    addRows(data, width, stride, rows);
}

EscposMobileImageCommandCreator::EscposMobileImageCommandCreator()
    : ImageCommandCreator(1024, 8, 128, PrintResolution::Dpi203) {
    plain_.reserve(128 * 128);
    compressed_.reserve(RunLengthEncoder::maxEncodedSize(128 * 128));
}

void EscposMobileImageCommandCreator::createFeedCommand(std::size_t rows) {
    std::vector<std::uint8_t> bytes;
    RasterCommands::appendDotFeed(bytes, 0x4A, rows);
    output_->add(bytes);
}

void EscposMobileImageCommandCreator::createReduceImageCommand(const std::uint8_t* data, int width,
                                                               int stride, int rows) {
    // The command carries the width and the rows in one byte each.
    if (width <= 0 || rows <= 0 || width > 255 || rows > 255) {
        return;
    }
    plain_.clear();
    for (int r = 0; r < rows; ++r) {
        const std::uint8_t* row = data + static_cast<std::size_t>(r) * static_cast<std::size_t>(stride);
        plain_.insert(plain_.end(), row, row + width);
    }
    compressed_.clear();
    RunLengthEncoder::encode(plain_.data(), plain_.size(), compressed_);
    const bool useCompressed = compressed_.size() < plain_.size();
    output_->add({0x1B, 0x58, static_cast<std::uint8_t>(useCompressed ? 0x33 : 0x34), low(width), low(rows)});
    output_->add(useCompressed ? compressed_ : plain_);
    output_->add({0x1B, 0x58, 0x32, low(rows)});
}

}  // namespace PrinterCommandBuilder::Printer
