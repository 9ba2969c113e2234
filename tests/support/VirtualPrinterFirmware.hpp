#pragma once

// The firmware side of the virtual printer, as request handlers on its engine:
// - the internal-file receiver: ESC GS ] F "2" readies it; ESC GS ] F "1" name data is taken as it streams
//   in, answered after every piece of the command (131072 bytes) and at its end, and the file is kept by
//   its name once complete; an unfinished file, like an unfinished raw image, is kept as it stands (every
//   byte after it counts as more of it) until the test says the printer dropped it;
// - the install: a configuration document with a firmware entry that names an internal file installs that
//   file (the user configuration stays as it was); a firmware image written raw to the port installs
//   itself once whole (the block transfer, recorded byte for byte).
// A firmware image the virtual printer installs is ESC "VPFW", the version's length (one byte), the
// version, the payload's length (u32 LE) and the payload; installing it makes the firmware information
// report that version.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/VirtualPrinterEngine.hpp"

namespace Prelix10::Testing {

Bytes makeVirtualFirmwareImage(const std::string& version, std::size_t payloadSize);

class VirtualPrinterFirmware {
  public:
    enum class ReplyFault {
        none,
        silent,        // pieces are taken but never answered
        invalidState,  // the reply's state byte is neither 00 nor 01
        split,         // the reply leaves in two parts, splitDelay apart
    };

    // Installs the handlers on the engine, which must outlive neither this object nor its sessions.
    explicit VirtualPrinterFirmware(VirtualPrinterEngine& engine);
    ~VirtualPrinterFirmware();
    VirtualPrinterFirmware(const VirtualPrinterFirmware&) = delete;
    VirtualPrinterFirmware& operator=(const VirtualPrinterFirmware&) = delete;

    // Faults of the internal-file replies, from the reply to piece fromPiece (counted from 0) on.
    void setReplyFault(ReplyFault fault, std::size_t fromPiece = 0);
    void setSplitDelay(std::chrono::milliseconds delay);
    // False: images are received but not installed (the printer keeps its version).
    void setInstallsImages(bool installs);

    // Internal files kept, by name; ESC GS ] F "2" seen.
    std::optional<Bytes> file(const std::string& name);
    std::size_t readyCount();
    // For every internal-file reply, how many bytes of the write command had arrived when it was sent.
    std::vector<std::size_t> replyOffsets();
    // Firmware images received by block transfer, whole, in order.
    std::vector<Bytes> blockImages();
    // Install documents received (configuration documents with a firmware entry), as sent.
    std::vector<std::string> installDocuments();
    // Versions installed, in order.
    std::vector<std::string> installedVersions();
    // Bytes of the internal file still being received (0 when none is open).
    std::size_t partialFileSize();
    // Bytes of a raw image still being received (0 when none is).
    std::size_t partialImageSize();
    // The printer drops whatever it was still receiving, as after its own time-out or a restart.
    void discardPartial();

  private:
    struct Stream {
        bool isFile = false;
        std::string name;
        std::size_t total = 0;     // bytes of the whole command
        std::size_t received = 0;  // bytes of the command taken so far
        Bytes body;                // the file's data, or the whole image
        std::chrono::steady_clock::time_point lastBytes;
    };

    RequestMatch handle(std::span<const std::uint8_t> bytes);
    RequestMatch continueStream(std::span<const std::uint8_t> bytes);
    RequestMatch installDocument(std::span<const std::uint8_t> bytes);
    Bytes pieceReply(bool receiving);
    // Under the engine's lock: makes the firmware information report the image's version.
    bool install(const Bytes& image);

    VirtualPrinterEngine& engine_;
    std::mutex mutex_;
    ReplyFault fault_ = ReplyFault::none;
    std::size_t faultFromPiece_ = 0;
    std::chrono::milliseconds splitDelay_{60};
    bool installsImages_ = true;
    std::optional<Stream> stream_;
    std::size_t piecesAnswered_ = 0;
    std::map<std::string, Bytes> files_;
    std::size_t readyCount_ = 0;
    std::vector<std::size_t> replyOffsets_;
    std::vector<Bytes> blockImages_;
    std::vector<std::string> installDocuments_;
    std::vector<std::string> installedVersions_;
    std::vector<std::thread> senders_;
};

}  // namespace Prelix10::Testing
