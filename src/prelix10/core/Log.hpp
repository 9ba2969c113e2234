#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "prelix10/core/Prelix10Error.hpp"

namespace Prelix10 {

// Where log text ends up; the file logger is one implementation. Calls may come from any thread.
class LogSink {
public:
    virtual ~LogSink() = default;
    virtual void initialize(const std::string& directory) = 0;
    virtual void setHeader(const std::string& header) = 0;
    virtual void log(const std::string& line) = 0;
};

// Bridge between the logging service and the sink that writes the lines.
class OrvoLoggerWrapper {
public:
    static void initialize(const std::string& directory);
    static void setHeader(const std::string& header);
    static void logWithMessage(const std::string& message);

    // The sink that receives the lines; lines are dropped while none is set.
    static void setSink(std::shared_ptr<LogSink> sink);
    static std::shared_ptr<LogSink> sink();

private:
    static std::mutex& mutex();
    static std::shared_ptr<LogSink>& sinkSlot();
};

// The application's switch for the library log. Off until started.
class Prelix10Logger {
public:
    static Prelix10Logger& shared();

    void start() { isLogging_.store(true); }
    void stop() { isLogging_.store(false); }
    bool isLogging() const { return isLogging_.load(); }
    void setIsLogging(bool on) { isLogging_.store(on); }

    std::string header() const;
    // header = header + text + "\n", then hands the whole header to the sink.
    void appendWithHeader(const std::string& text);

    // Run once when the singleton is created, in place of the default set-up (the file logger in the
    // private directory's "logs" directory, headed by the host facts). Set it before the first use.
    using Setup = void (*)(Prelix10Logger& logger);
    static void setSetupHook(Setup hook);

    void setHeaderText(const std::string& header);

private:
    Prelix10Logger() = default;
    std::atomic<bool> isLogging_{false};
    mutable std::mutex headerMutex_;
    std::string header_;
};

namespace Internal {
struct InternalInterface {
    static void appendLogHeader(const std::string& text) { Prelix10Logger::shared().appendWithHeader(text); }
};
}  // namespace Internal

// One log site: who logs, from where.
class Log {
public:
    Log(const void* sender, std::string className, std::string methodName, int lineNumber)
        : sender_(sender),
          className_(std::move(className)),
          methodName_(std::move(methodName)),
          lineNumber_(lineNumber) {}

    template <typename T>
    Log(const T* sender, std::string methodName, int lineNumber)
        : Log(static_cast<const void*>(sender), typeNameOf(*sender), std::move(methodName), lineNumber) {}

    // Writes one line; the caller has checked isLogging.
    void write(const std::string& message) const;
    // Writes only when logging is on.
    void writeIfLogging(const std::string& message) const;
    // Writes only when logging is on; the message is built (by calling makeMessage) only then, so that a
    // site whose message is costly to build costs nothing while logging is off.
    template <typename MakeMessage>
        requires std::is_invocable_r_v<std::string, MakeMessage>
    void writeIfLogging(MakeMessage&& makeMessage) const {
        if (loggingIsOn()) write(makeMessage());
    }

    // "Thread: <thread>, [0x<16 hex>], Class#method message"
    std::string formatLine(const std::string& message) const;

    const std::string& className() const { return className_; }
    const std::string& methodName() const { return methodName_; }
    int lineNumber() const { return lineNumber_; }

private:
    static bool loggingIsOn();
    const void* sender_;
    std::string className_;
    std::string methodName_;
    int lineNumber_;
};

// A description of the calling thread for log lines.
std::string currentThreadDescription();

// Logs "Error - <description>" when logging is on, then throws the error.
[[noreturn]] void raiseError(const Log& log, Prelix10Error error);

// Builds and raises the unknown error "Unexpected state at line N of Type.".
[[noreturn]] void raiseUnexpectedState(const Log& log, int line);

namespace Util {
std::string describe(std::uint8_t byte);
std::string describe(std::span<const std::uint8_t> bytes);
inline std::string describe(const std::vector<std::uint8_t>& bytes) {
    return describe(std::span<const std::uint8_t>(bytes));
}
std::string describe(const Prelix10Error& error);
std::string describe(const std::string& text);
inline std::string describe(const char* text) { return describe(std::string(text)); }
std::string describe(bool value);
template <typename T>
    requires std::is_arithmetic_v<T>
std::string describe(T value) {
    return std::to_string(value);
}
template <typename T>
std::string describe(const std::vector<T>& values) {
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) out += ", ";
        out += describe(values[i]);
    }
    return out + "]";
}
template <typename K, typename V>
std::string describe(const std::map<K, V>& values) {
    std::string out = "[";
    bool first = true;
    for (const auto& [key, value] : values) {
        if (!first) out += ", ";
        first = false;
        out += describe(key) + " : " + describe(value);
    }
    return out + "]";
}
// A byte block as a log line shows it: at most the first kLogBytePrefix bytes as "[0A, FF, ...]", then the
// length, e.g. "[1B, 40, ...] (6291456 bytes)". Every log line that carries a byte block uses this, so a
// line stays short whatever the block's size.
inline constexpr std::size_t kLogBytePrefix = 32;
std::string describeBytes(std::span<const std::uint8_t> bytes);
inline std::string describeBytes(const std::vector<std::uint8_t>& bytes) {
    return describeBytes(std::span<const std::uint8_t>(bytes));
}
// How many byte blocks describeBytes has described since the process started (for tests).
std::size_t describedByteBlocks();
// "" for no values, else "Parameter - a, b".
std::string describeParameters(const std::vector<std::string>& describedValues);
}  // namespace Util

}  // namespace Prelix10
