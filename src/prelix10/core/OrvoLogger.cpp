#include "prelix10/core/OrvoLogger.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <regex>

namespace Prelix10 {

namespace {

const std::string kPrefix = "log_";
const std::string kExtension = "txt";
const std::regex kNamePattern(kPrefix +
                              "[0-9]{4}(0[1-9]|1[0-2])(0[1-9]|[12][0-9]|3[01])([01][0-9]|2[0-3])[0-5][0-9][0-5][0-9]"
                              "([0-9]{3})\\." +
                              kExtension);

std::tm localTime(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm parts{};
    localtime_r(&seconds, &parts);
    return parts;
}

int millisecondsOf(std::chrono::system_clock::time_point time) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count() % 1000;
    return static_cast<int>(ms < 0 ? ms + 1000 : ms);
}

// The time a log file name stands for, or nullopt for a name of another form.
std::optional<std::chrono::system_clock::time_point> timeOfName(const std::string& name) {
    if (!OrvoLogger::isLogFileName(name)) return std::nullopt;
    const std::string digits = name.substr(kPrefix.size(), 17);
    std::tm parts{};
    parts.tm_year = std::stoi(digits.substr(0, 4)) - 1900;
    parts.tm_mon = std::stoi(digits.substr(4, 2)) - 1;
    parts.tm_mday = std::stoi(digits.substr(6, 2));
    parts.tm_hour = std::stoi(digits.substr(8, 2));
    parts.tm_min = std::stoi(digits.substr(10, 2));
    parts.tm_sec = std::stoi(digits.substr(12, 2));
    parts.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&parts);
    if (seconds == static_cast<std::time_t>(-1)) return std::nullopt;
    return std::chrono::system_clock::from_time_t(seconds) + std::chrono::milliseconds(std::stoi(digits.substr(14, 3)));
}

// Cuts text to at most limit bytes without splitting a UTF-8 sequence.
std::string truncated(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

}  // namespace

OrvoLogger::OrvoLogger(std::string directory) : OrvoLogger(std::move(directory), Options()) {}

OrvoLogger::OrvoLogger(std::string directory, Options options)
    : directory_(std::move(directory)), options_(std::move(options)) {
    // One level, made before the worker starts so that the directory exists once the logger does; the
    // parent is the library's private directory.
    std::error_code error;
    if (!std::filesystem::exists(directory_, error)) ::mkdir(directory_.c_str(), 0771);
    worker_ = std::thread([this] { run(); });
}

OrvoLogger::~OrvoLogger() {
    {
        std::lock_guard guard(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

void OrvoLogger::setHeader(const std::string& header) {
    std::string clean;
    clean.reserve(header.size());
    for (char c : header) {
        if (c != '\r') clean.push_back(c);
    }
    std::lock_guard guard(mutex_);
    header_ = std::move(clean);
}

std::string OrvoLogger::header() const {
    std::lock_guard guard(mutex_);
    return header_;
}

void OrvoLogger::log(const std::string& message) {
    {
        std::lock_guard guard(mutex_);
        queue_.push_back(formatLine(options_.now(), message));
    }
    wake_.notify_one();
}

void OrvoLogger::waitUntilWritten() {
    std::unique_lock lock(mutex_);
    written_.wait(lock, [this] { return queue_.empty() || stop_; });
}

std::string OrvoLogger::getFullPath(const std::string& name) const { return directory_ + "/" + name; }

bool OrvoLogger::isLogFileName(const std::string& name) { return std::regex_match(name, kNamePattern); }

std::vector<std::string> OrvoLogger::listFiles() const {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator it(directory_, error);
    if (error) return names;
    for (const auto& entry : it) {
        std::error_code typeError;
        if (!entry.is_regular_file(typeError)) continue;
        std::string name = entry.path().filename().string();
        if (isLogFileName(name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string OrvoLogger::fileName(std::chrono::system_clock::time_point time) {
    const std::tm parts = localTime(time);
    char stamp[32];
    std::strftime(stamp, sizeof(stamp), "%Y%m%d%H%M%S", &parts);
    char ms[8];
    std::snprintf(ms, sizeof(ms), "%03d", millisecondsOf(time));
    return kPrefix + stamp + ms + "." + kExtension;
}

std::string OrvoLogger::formatLine(std::chrono::system_clock::time_point time, const std::string& message) {
    const std::tm parts = localTime(time);
    char stamp[32];
    std::strftime(stamp, sizeof(stamp), "%Y/%m/%d %H:%M:%S", &parts);
    char ms[8];
    std::snprintf(ms, sizeof(ms), ".%03d", millisecondsOf(time));
    return std::string(stamp) + ms + ": " + message;
}

void OrvoLogger::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        // Pending lines and a stop request are checked before waiting, so no wake-up is missed.
        wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
        while (!queue_.empty()) writeQueued();
        written_.notify_all();
        if (stop_) break;
    }
    if (file_.is_open()) file_.close();
}

std::string OrvoLogger::nextFileName(const std::vector<std::string>& files) const {
    const auto now = options_.now();
    std::string name = fileName(now);
    if (files.empty() || name > files.back()) return name;
    // Within the newest file's millisecond (or with the clock set back): one millisecond past the newest
    // name, so that names stay strictly increasing.
    if (auto newest = timeOfName(files.back())) {
        std::string next = fileName(*newest + std::chrono::milliseconds(1));
        for (int i = 2; next <= files.back() && i < 4000; ++i) next = fileName(*newest + std::chrono::milliseconds(i));
        if (next > files.back()) return next;
    }
    return "";
}

bool OrvoLogger::openNewFile(const std::vector<std::string>& files) {
    const std::string name = nextFileName(files);
    if (name.empty() || !isLogFileName(name)) return false;
    file_.open(getFullPath(name), std::ios::out | std::ios::app | std::ios::binary);
    openName_ = name;
    total_ = 0;
    if (!header_.empty()) {
        file_ << header_ << '\n';
        file_.flush();
        total_ = header_.size() + 1;
    }
    return true;
}

void OrvoLogger::writeQueued() {
    const std::uintmax_t limit = options_.fileSizeLimit;
    const auto files = listFiles();
    bool fresh = false;
    std::uintmax_t newestSize = 0;
    if (!files.empty()) {
        std::error_code error;
        newestSize = std::filesystem::file_size(getFullPath(files.back()), error);
        if (error) newestSize = 0;
    }
    if (!files.empty() && queue_.front().size() + 1 + newestSize <= limit) {
        // Room left in the newest file: keep writing there, without a header.
        if (!file_.is_open() || openName_ != files.back()) {
            if (file_.is_open()) file_.close();
            file_.open(getFullPath(files.back()), std::ios::out | std::ios::app | std::ios::binary);
            openName_ = files.back();
        }
        // The running total continues from what the file already holds.
        total_ = newestSize;
    } else {
        if (file_.is_open()) file_.close();
        if (!files.empty() && files.size() >= options_.maxFiles) {
            std::error_code removeError;
            std::filesystem::remove(getFullPath(files.front()), removeError);
        }
        fresh = openNewFile(files);
        if (!fresh) {
            // No new file could be named: drop the lines rather than try again without end.
            queue_.clear();
            return;
        }
    }

    // Lines written to a file that failed to open are lost, as the stream drops them.
    std::size_t written = 0;
    for (const auto& line : queue_) {
        if (total_ + line.size() + 1 > limit) {
            if (fresh && written == 0) {
                // A line longer than a whole file goes, cut to what fits, into the fresh file of its own.
                const std::uintmax_t room = limit > total_ + 1 ? limit - total_ - 1 : 0;
                const std::string cut = truncated(line, static_cast<std::size_t>(room));
                file_ << cut << '\n';
                file_.flush();
                total_ += cut.size() + 1;
                ++written;
            }
            break;
        }
        file_ << line << '\n';
        file_.flush();
        total_ += line.size() + 1;
        ++written;
    }
    queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(written));
}

namespace {
struct SharedLogger {
    std::mutex mutex;
    std::shared_ptr<OrvoLogger> logger;
    ~SharedLogger();
};
std::atomic<bool> sharedLoggerGone{false};
SharedLogger::~SharedLogger() {
    sharedLoggerGone.store(true);
    std::shared_ptr<OrvoLogger> last;
    {
        std::lock_guard guard(mutex);
        last = std::move(logger);
    }
}
SharedLogger* sharedLoggerHolder() {
    static SharedLogger holder;
    return sharedLoggerGone.load() ? nullptr : &holder;
}
}  // namespace

std::shared_ptr<OrvoLogger> sharedOrvoLogger() {
    SharedLogger* holder = sharedLoggerHolder();
    if (!holder) return nullptr;
    std::lock_guard guard(holder->mutex);
    return holder->logger;
}

void initOrvoLog(const std::string& directory) {
    SharedLogger* holder = sharedLoggerHolder();
    if (!holder) return;
    std::lock_guard guard(holder->mutex);
    if (!holder->logger) holder->logger = std::make_shared<OrvoLogger>(directory);
}

void setOrvoLogHeader(const std::string& header) {
    if (auto logger = sharedOrvoLogger()) logger->setHeader(header);
}

void orvoLog(const std::string& message) {
    if (auto logger = sharedOrvoLogger()) logger->log(message);
}

}  // namespace Prelix10
