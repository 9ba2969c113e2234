#pragma once

// A virtual printer of the maker's emulations, written from the printer's side of the wire: it takes the
// bytes a host sends, answers the status requests it understands, counts end-of-job markers and keeps a
// capture of everything it received. It knows nothing of transports: front ends (TCP here; accessory,
// Bluetooth LE or a spooler later) open sessions on it and move bytes in and out.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace Prelix10::Testing {

using Bytes = std::vector<std::uint8_t>;

// Which connection of the printer a session stands for.
enum class PrinterChannel {
    data,    // the print connection (TCP 9100, an accessory stream, the BLE print service)
    status,  // the LAN side connection for status requests (TCP 9101)
};

// How replies to requests other than the status request travel back.
enum class ReplyFraming {
    plain,          // as they are (accessory, Bluetooth LE, raw reads)
    asbExtension,   // inside automatic status block extension ":B" items (the maker's LAN boards)
};

// The command set the printer speaks. The maker's emulations answer with status blocks; ESC/POS answers the
// status port with the four-byte automatic status and keeps an end-of-job counter driven by ESC GS ETX
// commands; mobile ESC/POS answers DLE EOT 4 and the ESC FS NAK handshake on its one connection (and takes
// the maker's status request ESC ACK SOH without an answer).
enum class PrinterDialect { orvo, escPos, escPosMobile };

// The printer's state as the status block reports it. Edited through VirtualPrinterEngine::update().
struct PrinterState {
    bool coverOpen = false;
    bool paperEmpty = false;
    bool paperNearEmpty = false;
    bool paperPresent = false;  // paper held at the exit ("holding paper")
    bool drawerSignal = false;
    bool errorForced = false;   // the error bit, whatever the cause
    bool externalDevice12NotReady = false;
    bool externalDevice34NotReady = false;
    bool externalDeviceConnected[4] = {false, false, false, false};  // devices 1 to 4 (status byte 14)
    int etbCounter = 0;         // 0 to 31
    // The code of the interface the host is connected by (status byte 11, packed like the ETB counter);
    // none leaves the byte 0.
    std::optional<int> connectedInterface;
};

struct VirtualPrinterConfig {
    // Status block length n (header 1). 16 reports every field, 9 only bytes up to 8; below 8 there is no
    // ETB counter byte.
    int statusBlockLength = 16;
    int statusVersion = 3;
    // The board sends automatic status blocks by itself (right after connect and on every change) until
    // a host switches them off with ESC RS a 0.
    bool automaticStatus = false;
    ReplyFraming replyFraming = ReplyFraming::asbExtension;
    // Time between receiving an ETB marker and counting it (the printing of the data before it).
    std::chrono::milliseconds printDelay{0};
    // False: the printer never reports a job as printed (ETB markers are not counted).
    bool countsEtb = true;
    // After this many print-data bytes the paper runs out (the job stops printing).
    std::optional<std::size_t> paperEmptyAfterDataBytes;
    // Status replies are replaced by bytes that are no status block.
    bool garbageReplies = false;
    // Status replies are cut short to this many bytes.
    std::optional<std::size_t> truncateRepliesTo;
    // Printer information text for ESC GS ) I 1.
    std::string informationText = "LaNmA=00:11:62:AA:BB:CC,PrSrN=VP0000001";
    // Interface names for ESC GS ) I 3, joined by ",".
    std::string mountedInterfacesText = "ETHERNET,USB-B";
    // Commands that ESC GS ) I 7F reports as available; every other command is reported unavailable.
    std::vector<Bytes> availableCommands;
    // Firmware text for ESC # * LF NUL: a name the model table knows and "Ver" once.
    std::string firmwareText = "Kelto59KKVer1.0";
    // Status bytes of the customer display and the input device (bit 0 data stored, bit 1 connected), and
    // the data the input device holds.
    std::uint8_t displayStatus = 0x02;
    std::uint8_t inputDeviceStatus = 0x03;
    Bytes inputDeviceStoredData = {0x31, 0x32, 0x33};
    // The most reply bytes one status block extension item carries; longer replies take more blocks.
    std::size_t replyItemLimit = 0x7000;

    PrinterDialect dialect = PrinterDialect::orvo;
    // ESC/POS: false keeps the counter where it is when ESC GS ETX 2 asks to clear it.
    bool clearsEtbCounter = true;
    // ESC/POS: the counter reply goes out in two pieces (4 bytes, then the rest) this far apart.
    std::optional<std::chrono::milliseconds> splitEtbReplyDelay;
    // ESC/POS: bytes sent on the print connection ahead of each counter reply (noise).
    Bytes noiseBeforeEtbReply;
    // Mobile ESC/POS: the handshake byte, and a status byte that replaces the encoded one.
    std::uint8_t mobileHandshakeByte = 0x26;
    std::optional<std::uint8_t> mobileStatusByte;
    // The input device's status request goes unanswered (its stored data is still sent).
    bool inputDeviceStatusSilent = false;
};

// The four-byte ESC/POS automatic status and the one-byte mobile ESC/POS status as the printer encodes them.
Bytes encodeEscPosStatus(const PrinterState& state);
std::uint8_t encodeEscPosMobileStatus(const PrinterState& state);

// A status block as the printer encodes it (header, status bytes, optional extension).
Bytes encodeStatusBlock(const PrinterState& state, int blockLength, int version, const Bytes* extensionItem = nullptr);
// Reply bytes wrapped in one or more status blocks with ":B" extension items (each item below 0x8000 bytes).
Bytes wrapInStatusBlocks(const PrinterState& state, int blockLength, int version, std::span<const std::uint8_t> reply);
// The same with at most itemLimit reply bytes in each block.
Bytes wrapInStatusBlocks(const PrinterState& state, int blockLength, int version, std::span<const std::uint8_t> reply,
                         std::size_t itemLimit);

class VirtualPrinterEngine;

// One connection's worth of parsing state. Bytes are processed strictly in order.
class PrinterSession {
public:
    PrinterChannel channel() const { return channel_; }
    // Feeds received bytes; returns what the printer answers at once.
    Bytes receive(std::span<const std::uint8_t> bytes);
    // Unsolicited output due now (automatic status after a change); call every few milliseconds.
    Bytes poll();

private:
    friend class VirtualPrinterEngine;
    PrinterSession(VirtualPrinterEngine& engine, PrinterChannel channel) : engine_(engine), channel_(channel) {}
    VirtualPrinterEngine& engine_;
    PrinterChannel channel_;
    Bytes pending_;
    std::uint64_t lastAutomaticStatusVersion_ = 0;
    bool greeted_ = false;
    // Between ESC * r A and ESC * r B, where "b" starts a raster row.
    bool rasterMode_ = false;
    // ESC/POS counter requests not answered yet (the reply waits until the counted data is printed), and
    // reply pieces held back until their time.
    std::size_t etbReportsWaiting_ = 0;
    std::vector<std::pair<std::chrono::steady_clock::time_point, Bytes>> delayed_;
};

// Extension point for requests beyond the status exchange (spooler, configuration, files, ...).
// Given the unprocessed bytes from a control byte on, a handler answers handled (with the count it consumed
// and the reply), notMine, or needMore when the bytes are a prefix of its request.
struct RequestMatch {
    enum class Kind { notMine, needMore, handled } kind = Kind::notMine;
    std::size_t consumed = 0;
    Bytes reply;  // plain reply; the engine applies the session's framing
};
using RequestHandler = std::function<RequestMatch(std::span<const std::uint8_t> bytes)>;

class VirtualPrinterEngine {
public:
    explicit VirtualPrinterEngine(VirtualPrinterConfig config = {});

    std::unique_ptr<PrinterSession> openSession(PrinterChannel channel);

    // State access; every change is reported by the next automatic status.
    PrinterState state();
    void update(const std::function<void(PrinterState&)>& change);
    VirtualPrinterConfig config();
    void configure(const std::function<void(VirtualPrinterConfig&)>& change);
    bool automaticStatusEnabled();

    void addRequestHandler(RequestHandler handler);
    // A handler asked first at every position of the print connection, printable bytes included: for
    // transfers whose body is not made of commands (files, firmware images).
    void addPriorityRequestHandler(RequestHandler handler);
    // For handlers only, which run under the engine's lock: changes the configuration at once.
    void configureFromHandler(const std::function<void(VirtualPrinterConfig&)>& change) { change(config_); }

    // Everything received per channel, in order, and the bytes taken as print data: text and every command
    // of the job with its parameters and data, but not the status, counter and mode requests the printer
    // answers or obeys, nor the NUL and end-of-job bytes between commands.
    Bytes capture(PrinterChannel channel);
    std::size_t captureSize(PrinterChannel channel);
    Bytes printedData();
    void clearCapture();
    // Counters a test can assert on: status requests answered (on both channels, or on one), ETB markers.
    std::size_t statusRequestCount();
    std::size_t statusRequestCount(PrinterChannel channel);
    std::size_t etbMarkerCount();

    // Stored data of the input device (a scanned barcode), handed out once each, in order, by the next
    // stored-data requests; while none is queued, the configured inputDeviceStoredData answers.
    void queueStoredData(Bytes data);
    std::size_t queuedStoredDataCount();
    // Accessory requests answered: display status, input-device status and stored data.
    std::size_t accessoryRequestCount();

    // Bytes the printer sends on its print connection exactly as given (a damaged or hand-made frame),
    // ahead of any automatic status due at the same time.
    void sendRaw(const Bytes& bytes);

private:
    friend class PrinterSession;
    using Clock = std::chrono::steady_clock;

    Bytes processLocked(PrinterSession& session, std::span<const std::uint8_t> bytes);
    // Processes one command at the front of the bytes; returns the count consumed, 0 when more are needed.
    std::size_t stepDataLocked(std::span<const std::uint8_t> bytes, PrinterSession& session, Bytes& out);
    std::size_t stepStatusLocked(std::span<const std::uint8_t> bytes, Bytes& out);
    // The ESC/POS and mobile ESC/POS commands; 0 when more bytes are needed, npos when the bytes are not one.
    std::size_t stepEscPosLocked(std::span<const std::uint8_t> bytes, PrinterSession& session, Bytes& out);
    // Sends the counter replies that are due and the held-back pieces whose time has come.
    void flushEscPosLocked(PrinterSession& session, Bytes& out);
    void settleLocked();
    void changedLocked() { ++stateVersion_; }
    Bytes statusBlockLocked();
    Bytes statusReplyLocked();
    Bytes frameReplyLocked(const PrinterSession& session, std::span<const std::uint8_t> reply);
    void takePrintDataLocked(std::uint8_t byte);
    // The replies to the information, mounted-interface, command-availability, firmware and accessory
    // requests.
    void addPeripheryHandlers();

    std::mutex mutex_;
    VirtualPrinterConfig config_;
    PrinterState state_;
    bool automaticStatus_;
    std::uint64_t stateVersion_ = 1;
    std::vector<Clock::time_point> pendingEtb_;
    std::size_t printedCount_ = 0;
    std::map<PrinterChannel, Bytes> capture_;
    Bytes printed_;
    std::map<PrinterChannel, std::size_t> statusRequests_;
    std::size_t etbMarkers_ = 0;
    Bytes rawOutput_;
    std::vector<RequestHandler> handlers_;
    std::vector<RequestHandler> priorityHandlers_;
    std::deque<Bytes> queuedStoredData_;
    std::size_t accessoryRequests_ = 0;
};

}  // namespace Prelix10::Testing
