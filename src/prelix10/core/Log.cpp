#include "prelix10/core/Log.hpp"

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "prelix10/core/HostFacts.hpp"
#include "prelix10/core/OrvoLogger.hpp"
#include "prelix10/core/PrivateFileManager.hpp"

namespace Prelix10 {

namespace {
std::atomic<Prelix10Logger::Setup> setupHook{nullptr};

// The file logger in the "logs" directory of the private directory, headed by the host facts. Without a
// private directory there is no file logger and lines are dropped. Must not log: it runs while the
// logger singleton is being made.
void startFileLogger(Prelix10Logger& logger) {
    const auto directory = PrivateFileManager::privateDirectoryIfAvailable();
    if (!directory) return;
    if (!OrvoLoggerWrapper::sink()) OrvoLoggerWrapper::setSink(std::make_shared<OrvoLoggerSink>());
    OrvoLoggerWrapper::initialize((*directory / "logs").string());
    logger.setHeaderText(HostFacts::logHeader());
}
}

std::mutex& OrvoLoggerWrapper::mutex() {
    static std::mutex m;
    return m;
}

std::shared_ptr<LogSink>& OrvoLoggerWrapper::sinkSlot() {
    static std::shared_ptr<LogSink> slot;
    return slot;
}

void OrvoLoggerWrapper::setSink(std::shared_ptr<LogSink> sink) {
    std::lock_guard lock(mutex());
    sinkSlot() = std::move(sink);
}

std::shared_ptr<LogSink> OrvoLoggerWrapper::sink() {
    std::lock_guard lock(mutex());
    return sinkSlot();
}

void OrvoLoggerWrapper::initialize(const std::string& directory) {
    if (auto s = sink()) s->initialize(directory);
}

void OrvoLoggerWrapper::setHeader(const std::string& header) {
    if (auto s = sink()) s->setHeader(header);
}

void OrvoLoggerWrapper::logWithMessage(const std::string& message) {
    if (auto s = sink()) s->log(message);
}

void Prelix10Logger::setSetupHook(Setup hook) { setupHook.store(hook); }

Prelix10Logger& Prelix10Logger::shared() {
    static Prelix10Logger* instance = [] {
        auto* logger = new Prelix10Logger();  // lives until the process ends
        if (auto hook = setupHook.load()) {
            hook(*logger);
        } else {
            startFileLogger(*logger);
        }
        return logger;
    }();
    return *instance;
}

std::string Prelix10Logger::header() const {
    std::lock_guard lock(headerMutex_);
    return header_;
}

void Prelix10Logger::setHeaderText(const std::string& header) {
    {
        std::lock_guard lock(headerMutex_);
        header_ = header;
    }
    OrvoLoggerWrapper::setHeader(header);
}

void Prelix10Logger::appendWithHeader(const std::string& text) {
    std::string whole;
    {
        std::lock_guard lock(headerMutex_);
        header_ += text + "\n";
        whole = header_;
    }
    OrvoLoggerWrapper::setHeader(whole);
}

std::string currentThreadDescription() {
    char name[32] = {0};
    pthread_getname_np(pthread_self(), name, sizeof(name));
    const long tid = static_cast<long>(::syscall(SYS_gettid));
    const bool isMain = tid == static_cast<long>(::getpid());
    char buffer[96];
    std::snprintf(buffer, sizeof(buffer), "<Thread: %ld>{number = %ld, name = %s}", tid, tid,
                  isMain ? "main" : (name[0] ? name : "(null)"));
    return buffer;
}

std::string Log::formatLine(const std::string& message) const {
    char address[24];
    std::snprintf(address, sizeof(address), "0x%016llx",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(sender_)));
    return "Thread: " + currentThreadDescription() + ", [" + address + "], " + className_ + "#" + methodName_ + " " +
           message;
}

void Log::write(const std::string& message) const { OrvoLoggerWrapper::logWithMessage(formatLine(message)); }

void Log::writeIfLogging(const std::string& message) const {
    if (loggingIsOn()) write(message);
}

bool Log::loggingIsOn() { return Prelix10Logger::shared().isLogging(); }

void raiseError(const Log& log, Prelix10Error error) {
    if (Prelix10Logger::shared().isLogging()) log.write("Error - " + Util::describe(error));
    throw error;
}

void raiseUnexpectedState(const Log& log, int line) {
    raiseError(log, Prelix10Error(Prelix10ErrorKind::unknown, makeUnexpectedStateMessage(log.className(), line)));
}

namespace Util {
std::string describe(std::uint8_t byte) {
    char buffer[3];
    std::snprintf(buffer, sizeof(buffer), "%02X", byte);
    return buffer;
}
std::string describe(std::span<const std::uint8_t> bytes) {
    std::string out = "[";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i) out += ", ";
        out += describe(bytes[i]);
    }
    return out + "]";
}
namespace {
std::atomic<std::size_t> byteBlocksDescribed{0};
}
std::string describeBytes(std::span<const std::uint8_t> bytes) {
    byteBlocksDescribed.fetch_add(1, std::memory_order_relaxed);
    const std::size_t shown = std::min(bytes.size(), kLogBytePrefix);
    std::string out;
    out.reserve(shown * 4 + 40);
    out += '[';
    for (std::size_t i = 0; i < shown; ++i) {
        if (i) out += ", ";
        out += describe(bytes[i]);
    }
    if (shown < bytes.size()) out += shown ? ", ..." : "...";
    out += "] (" + std::to_string(bytes.size()) + (bytes.size() == 1 ? " byte)" : " bytes)");
    return out;
}
std::size_t describedByteBlocks() { return byteBlocksDescribed.load(std::memory_order_relaxed); }
std::string describe(const Prelix10Error& error) { return error.description(); }
std::string describe(const std::string& text) { return text; }
std::string describe(bool value) { return value ? "true" : "false"; }
std::string describeParameters(const std::vector<std::string>& describedValues) {
    if (describedValues.empty()) return "";
    std::string out = "Parameter - ";
    for (std::size_t i = 0; i < describedValues.size(); ++i) {
        if (i) out += ", ";
        out += describedValues[i];
    }
    return out;
}
}  // namespace Util

}  // namespace Prelix10
