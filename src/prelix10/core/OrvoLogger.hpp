#pragma once

#include "prelix10/core/Export.hpp"
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "prelix10/core/Log.hpp"

namespace Prelix10 {

// Writes log lines into a rotating set of text files in one directory, on a worker thread of its own, so
// callers only format and enqueue. Files are named "log_" + local time "%Y%m%d%H%M%S" + three digits of
// milliseconds + ".txt"; each new file starts with the header; a file is closed when the next line would
// take it past the size limit, and a rollover with maxFiles or more files deletes the oldest.
class PRELIX10_EXPORT OrvoLogger {
public:
    struct Options {
        std::uintmax_t fileSizeLimit = 10485760;
        std::size_t maxFiles = 10;
        // The time source for line stamps and file names (tests pin it).
        std::function<std::chrono::system_clock::time_point()> now = [] { return std::chrono::system_clock::now(); };
    };

    explicit OrvoLogger(std::string directory);
    OrvoLogger(std::string directory, Options options);
    OrvoLogger(const OrvoLogger&) = delete;
    OrvoLogger& operator=(const OrvoLogger&) = delete;
    // Writes what is queued, then stops and joins the worker.
    ~OrvoLogger();

    // Text written at the top of every new file; carriage returns are removed.
    void setHeader(const std::string& header);
    std::string header() const;
    // Stamps the line with the local time and queues it.
    void log(const std::string& message);
    // Blocks until every queued line has been handled (tests and orderly shutdown).
    void waitUntilWritten();

    const std::string& directory() const { return directory_; }
    std::string getFullPath(const std::string& name) const;
    // Names of the log files in the directory, ascending.
    std::vector<std::string> listFiles() const;

    static bool isLogFileName(const std::string& name);
    // "log_" + "%Y%m%d%H%M%S" + milliseconds + ".txt"
    static std::string fileName(std::chrono::system_clock::time_point time);
    // "%Y/%m/%d %H:%M:%S.mmm: " + message
    static std::string formatLine(std::chrono::system_clock::time_point time, const std::string& message);

private:
    void run();
    void writeQueued();
    bool openNewFile(const std::vector<std::string>& files);
    std::string nextFileName(const std::vector<std::string>& files) const;

    const std::string directory_;
    const Options options_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable written_;
    std::string header_;
    std::vector<std::string> queue_;
    bool stop_ = false;
    std::ofstream file_;
    std::string openName_;
    std::uintmax_t total_ = 0;
    std::thread worker_;
};

// The process-wide file logger behind the logging service: created by the first initOrvoLog, kept until
// the process ends. Calls before it exists are dropped.
PRELIX10_EXPORT void initOrvoLog(const std::string& directory);
PRELIX10_EXPORT void setOrvoLogHeader(const std::string& header);
PRELIX10_EXPORT void orvoLog(const std::string& message);
PRELIX10_EXPORT std::shared_ptr<OrvoLogger> sharedOrvoLogger();

// The sink that hands the logging service's lines to the process-wide file logger.
class PRELIX10_EXPORT OrvoLoggerSink : public LogSink {
public:
    void initialize(const std::string& directory) override { initOrvoLog(directory); }
    void setHeader(const std::string& header) override { setOrvoLogHeader(header); }
    void log(const std::string& line) override { orvoLog(line); }
};

}  // namespace Prelix10
