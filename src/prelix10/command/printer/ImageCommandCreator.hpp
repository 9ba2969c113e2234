#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Turns a one-bit raster into band and feed commands. Subclasses supply the two commands of their
// emulation; the cutting into bands is shared.
class ImageCommandCreator {
  public:
    ImageCommandCreator(int maxWidthDots, int leftBandRows, int alignedBandRows, PrintResolution resolution)
        : maxWidthBytes_((maxWidthDots + 7) / 8),
          leftBandRows_(leftBandRows),
          alignedBandRows_(alignedBandRows),
          resolution_(resolution) {}
    virtual ~ImageCommandCreator() = default;

    // `source` holds rows of `byteWidth` bytes; pictures wider than the printer are cut off on
    // the right, and missing bytes print white.
    void create(const std::vector<std::uint8_t>& source, int byteWidth, int height, AlignmentType alignment,
                ByteBuffer* output);

  protected:
    virtual void createFeedCommand(std::size_t rows) = 0;
    // `rows` rows of `width` bytes, consecutive rows `stride` bytes apart.
    virtual void createReduceImageCommand(const std::uint8_t* data, int width, int stride, int rows) = 0;

    // Appends the rows of a band, `width` bytes of each.
    void addRows(const std::uint8_t* data, int width, int stride, int rows);

    ByteBuffer* output_ = nullptr;
    int maxWidthBytes_;
    int leftBandRows_;
    int alignedBandRows_;
    PrintResolution resolution_;

  private:
    friend class ImageCommandCreatorSink;
};

// Page printers: 1B 1D 53 bands, 1B 49 feeds in dots of the model's resolution.
class KestrinImageCommandCreator : public virtual ImageCommandCreator {
  public:
    explicit KestrinImageCommandCreator(PrintResolution resolution)
        : ImageCommandCreator(1024, 8, 256, resolution) {}

  protected:
    void createFeedCommand(std::size_t rows) override;
    void createReduceImageCommand(const std::uint8_t* data, int width, int stride, int rows) override;
};

// Raster-only printers: one "b" row command per row, raster-mode feeds.
class OrvoGraphicImageCommandCreator : public virtual ImageCommandCreator {
  public:
    OrvoGraphicImageCommandCreator() : ImageCommandCreator(1024, 1, 1, PrintResolution::Dpi203) {}

  protected:
    void createFeedCommand(std::size_t rows) override;
    void createReduceImageCommand(const std::uint8_t* data, int width, int stride, int rows) override;
};

// ESC/POS: GS v 0 bands, ESC J feeds.
class EscposImageCommandCreator : public virtual ImageCommandCreator {
  public:
    EscposImageCommandCreator() : ImageCommandCreator(1024, 8, 256, PrintResolution::Dpi203) {}

  protected:
    void createFeedCommand(std::size_t rows) override;
    void createReduceImageCommand(const std::uint8_t* data, int width, int stride, int rows) override;
};

// Mobile ESC/POS: bands of at most 128 rows, sent run-length encoded when that is shorter.
class EscposMobileImageCommandCreator : public virtual ImageCommandCreator {
  public:
    EscposMobileImageCommandCreator();

  protected:
    void createFeedCommand(std::size_t rows) override;
    void createReduceImageCommand(const std::uint8_t* data, int width, int stride, int rows) override;

  private:
    // Reused for every band.
    std::vector<std::uint8_t> plain_;
    std::vector<std::uint8_t> compressed_;
};

}  // namespace PrinterCommandBuilder::Printer
