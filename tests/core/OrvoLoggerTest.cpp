#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "TestPrivateDirectory.hpp"
#include "prelix10/core/HostFacts.hpp"
#include "prelix10/core/LibraryVersion.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/OrvoLogger.hpp"
#include "prelix10/core/PrivateFileManager.hpp"

using namespace Prelix10;
using Prelix10Test::TemporaryDirectory;
namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// A clock that stays on one instant unless moved.
struct PinnedClock {
    std::shared_ptr<std::atomic<std::int64_t>> ms =
        std::make_shared<std::atomic<std::int64_t>>(1704164645678);  // some day in January 2024
    std::function<std::chrono::system_clock::time_point()> function() const {
        auto held = ms;
        return [held] { return std::chrono::system_clock::time_point(std::chrono::milliseconds(held->load())); };
    }
    std::chrono::system_clock::time_point at(std::int64_t offset = 0) const {
        return std::chrono::system_clock::time_point(std::chrono::milliseconds(ms->load() + offset));
    }
};

OrvoLogger::Options options(std::uintmax_t limit, const PinnedClock& clock, std::size_t maxFiles = 10) {
    OrvoLogger::Options o;
    o.fileSizeLimit = limit;
    o.maxFiles = maxFiles;
    o.now = clock.function();
    return o;
}

}  // namespace

TEST(OrvoLogger, NamesAndLineStamps) {
    PinnedClock clock;
    const auto t = clock.at();
    const std::string name = OrvoLogger::fileName(t);
    EXPECT_TRUE(OrvoLogger::isLogFileName(name)) << name;
    EXPECT_EQ(name.size(), std::string("log_20240102030405678.txt").size());
    EXPECT_EQ(name.substr(name.size() - 7), "678.txt");
    const std::string line = OrvoLogger::formatLine(t, "hello");
    // "%Y/%m/%d %H:%M:%S.mmm: message"
    ASSERT_EQ(line.size(), 23u + 2u + 5u);
    EXPECT_EQ(line[4], '/');
    EXPECT_EQ(line[7], '/');
    EXPECT_EQ(line[10], ' ');
    EXPECT_EQ(line.substr(19), ".678: hello");

    for (const char* bad : {"log_20241302030405678.txt", "log_2024010203040567.txt", "log_20240102030405678.log",
                            "xlog_20240102030405678.txt", "log_20240102240405678.txt"})
        EXPECT_FALSE(OrvoLogger::isLogFileName(bad)) << bad;
}

TEST(OrvoLogger, FirstLineOpensAFileHeadedByTheHeader) {
    TemporaryDirectory dir;
    PinnedClock clock;
    const fs::path logs = dir.path() / "logs";
    {
        OrvoLogger logger(logs.string(), options(1000, clock));
        logger.setHeader("- OS: X\r\n- App: y\r\n");
        EXPECT_EQ(logger.header(), "- OS: X\n- App: y\n");
        logger.log("first");
        logger.log("second");
        logger.waitUntilWritten();
        ASSERT_EQ(logger.listFiles().size(), 1u);
        EXPECT_EQ(logger.listFiles()[0], OrvoLogger::fileName(clock.at()));
    }
    EXPECT_TRUE(fs::is_directory(logs));
    const std::string text = readFile(logs / OrvoLogger::fileName(clock.at()));
    EXPECT_EQ(text, "- OS: X\n- App: y\n\n" + OrvoLogger::formatLine(clock.at(), "first") + "\n" +
                        OrvoLogger::formatLine(clock.at(), "second") + "\n");
}

TEST(OrvoLogger, AFileClosesWhenTheNextLineWouldPassTheLimit) {
    // A line of n characters takes n + 1 bytes with its newline.
    TemporaryDirectory dir;
    PinnedClock clock;
    const std::string newest = OrvoLogger::fileName(clock.at(-5000));
    writeFile(dir.path() / newest, std::string(100, 'x') + "\n");  // 101 bytes
    const std::string stamp = OrvoLogger::formatLine(clock.at(), "");
    {
        OrvoLogger logger(dir.string(), options(200, clock));
        logger.setHeader("H");
        // 101 + 99 = 200: fits exactly, without a header.
        logger.log(std::string(98 - stamp.size(), 'a'));
        logger.waitUntilWritten();
        EXPECT_EQ(logger.listFiles(), std::vector<std::string>{newest});
        EXPECT_EQ(fs::file_size(dir.path() / newest), 200u);
        // One more byte would pass the limit: rollover into a new file with the header.
        logger.log("b");
        logger.waitUntilWritten();
        const auto files = logger.listFiles();
        ASSERT_EQ(files.size(), 2u);
        EXPECT_EQ(readFile(dir.path() / files[1]), "H\n" + stamp + "b\n");
    }
}

TEST(OrvoLogger, NewRunContinuesInTheNewestFileAndBatchesRespectTheLimit) {
    TemporaryDirectory dir;
    PinnedClock clock;
    const std::string newest = OrvoLogger::fileName(clock.at(-1000));
    writeFile(dir.path() / newest, std::string(150, 'x'));
    {
        OrvoLogger logger(dir.string(), options(200, clock));
        // Many lines queued at once: the running total starts from the file's size, so no file passes 200.
        for (int i = 0; i < 40; ++i) logger.log("line " + std::to_string(i));
    }
    std::size_t lines = 0;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        EXPECT_LE(fs::file_size(entry.path()), 200u) << entry.path();
        const std::string text = readFile(entry.path());
        lines += static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    }
    EXPECT_EQ(lines, 40u);
}

TEST(OrvoLogger, RolloverWithTenFilesDeletesTheOldest) {
    TemporaryDirectory dir;
    PinnedClock clock;
    std::vector<std::string> names;
    for (int i = 0; i < 10; ++i) {
        names.push_back(OrvoLogger::fileName(clock.at(-100000 + i * 1000)));
        writeFile(dir.path() / names.back(), std::string(100, 'x'));
    }
    writeFile(dir.path() / "notes.txt", "kept");
    {
        OrvoLogger logger(dir.string(), options(120, clock));
        logger.log(std::string(40, 'z'));
        logger.waitUntilWritten();
        const auto files = logger.listFiles();
        ASSERT_EQ(files.size(), 10u);
        EXPECT_EQ(files.front(), names[1]);
        EXPECT_EQ(files.back(), OrvoLogger::fileName(clock.at()));
    }
    EXPECT_TRUE(fs::exists(dir.path() / "notes.txt"));
}

TEST(OrvoLogger, NamesStayStrictlyIncreasingWithinOneMillisecond) {
    TemporaryDirectory dir;
    PinnedClock clock;  // never moves
    {
        OrvoLogger logger(dir.string(), options(60, clock, 100));
        for (int i = 0; i < 12; ++i) {
            logger.log(std::string(20, static_cast<char>('a' + i)));
            logger.waitUntilWritten();
        }
        const auto files = logger.listFiles();
        ASSERT_GE(files.size(), 6u);
        for (std::size_t i = 1; i < files.size(); ++i) EXPECT_LT(files[i - 1], files[i]);
        EXPECT_EQ(files.front(), OrvoLogger::fileName(clock.at()));
        EXPECT_EQ(files[1], OrvoLogger::fileName(clock.at(1)));
    }
    for (const auto& entry : fs::directory_iterator(dir.path())) EXPECT_LE(fs::file_size(entry.path()), 60u);
}

TEST(OrvoLogger, ALineLongerThanAFileIsWrittenCutIntoAFreshFile) {
    TemporaryDirectory dir;
    PinnedClock clock;
    {
        OrvoLogger logger(dir.string(), options(100, clock));
        logger.setHeader("HEAD");
        logger.log("short");
        logger.log(std::string(500, 'L'));
        logger.log("after");
        logger.waitUntilWritten();  // returns: the worker does not spin on the long line
        const auto files = logger.listFiles();
        ASSERT_EQ(files.size(), 3u);
        const std::string cut = readFile(dir.path() / files[1]);
        EXPECT_EQ(cut.size(), 100u);
        EXPECT_EQ(cut.substr(0, 5), "HEAD\n");
        EXPECT_EQ(cut.back(), '\n');
        EXPECT_NE(readFile(dir.path() / files[2]).find(": after\n"), std::string::npos);
    }
}

TEST(OrvoLogger, UnwritableDirectoryLosesLinesWithoutSpinning) {
    TemporaryDirectory dir;
    PinnedClock clock;
    OrvoLogger logger((dir.path() / "missing" / "logs").string(), options(100, clock));
    logger.log("lost");
    logger.waitUntilWritten();
    EXPECT_TRUE(logger.listFiles().empty());
}

TEST(OrvoLogger, ManyThreadsLogAndSetTheHeader) {
    TemporaryDirectory dir;
    {
        OrvoLogger logger(dir.string());
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t) {
            threads.emplace_back([&logger, t] {
                for (int i = 0; i < 200; ++i) {
                    logger.log("thread " + std::to_string(t) + " line " + std::to_string(i));
                    if (i % 50 == 0) logger.setHeader("header " + std::to_string(t));
                }
            });
        }
        for (auto& thread : threads) thread.join();
    }
    std::size_t lines = 0;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        std::istringstream text(readFile(entry.path()));
        for (std::string line; std::getline(text, line);) lines += line.find(": thread ") != std::string::npos;
    }
    EXPECT_EQ(lines, 800u);
}

TEST(LoggingService, FirstUseStartsTheFileLoggerAndLinesFlowOnlyWhileLogging) {
    auto& logger = Prelix10Logger::shared();
    const fs::path logs = *PrivateFileManager::location() / "logs";
    EXPECT_TRUE(fs::is_directory(logs));
    auto fileLogger = sharedOrvoLogger();
    ASSERT_TRUE(fileLogger);
    EXPECT_EQ(fileLogger->directory(), logs.string());
    EXPECT_EQ(logger.header().rfind("- OS: ", 0), 0u);
    EXPECT_NE(logger.header().find("\n- Device: " + HostFacts::machine() + "\n- App: "), std::string::npos);
    EXPECT_NE(logger.header().find("\n- Prelix10 Version: " PRELIX10_VERSION "\n"), std::string::npos);
    EXPECT_EQ(Prelix10::libraryVersion(), PRELIX10_VERSION);

    const int site = 0;
    Log log(&site, "Probe", "probe()", __LINE__);
    logger.stop();
    log.writeIfLogging("while off");
    logger.start();
    log.writeIfLogging("while on");
    logger.stop();
    fileLogger->waitUntilWritten();
    std::string all;
    for (const auto& entry : fs::directory_iterator(logs)) all += readFile(entry.path());
    EXPECT_EQ(all.find("while off"), std::string::npos);
    const auto at = all.find("Probe#probe() while on");
    ASSERT_NE(at, std::string::npos);
    EXPECT_NE(all.rfind(": Thread: ", at), std::string::npos);

    logger.appendWithHeader("abc");
    EXPECT_EQ(fileLogger->header(), logger.header());
    EXPECT_EQ(logger.header().substr(logger.header().size() - 4), "abc\n");
}

TEST(PrivateDirectory, ChoiceOrderCreationAndFailure) {
    TemporaryDirectory dir;
    const auto target = dir.path() / "a" / "b";
    PrivateFileManager::setPrivateDirectory(target);
    EXPECT_EQ(PrivateFileManager::getPrivateDirectory(), target);
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(PrivateFileManager::getPrivateDirectory(), target);  // existing: returned as it is

    writeFile(dir.path() / "file", "x");
    PrivateFileManager::setPrivateDirectory(dir.path() / "file" / "sub");
    try {
        PrivateFileManager::getPrivateDirectory();
        FAIL() << "no throw";
    } catch (const Prelix10Error& e) {
        EXPECT_EQ(e.kind(), Prelix10ErrorKind::unknown);
        EXPECT_EQ(e.message(), "Create private directory failed.");
    }
    EXPECT_FALSE(PrivateFileManager::privateDirectoryIfAvailable());

    // Without the application's choice: the environment variable, then XDG_DATA_HOME, then HOME.
    PrivateFileManager::setPrivateDirectory(std::nullopt);
    struct SavedVariable {
        std::string name;
        std::optional<std::string> value;
        explicit SavedVariable(std::string n) : name(std::move(n)) {
            if (const char* v = std::getenv(name.c_str())) value = v;
        }
        ~SavedVariable() {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    } savedPrivate(PrivateFileManager::kEnvironmentVariable), savedData("XDG_DATA_HOME"), savedHome("HOME");
    ::setenv(PrivateFileManager::kEnvironmentVariable, (dir.path() / "env").c_str(), 1);
    EXPECT_EQ(PrivateFileManager::location(), dir.path() / "env");
    ::unsetenv(PrivateFileManager::kEnvironmentVariable);
    ::setenv("XDG_DATA_HOME", dir.string().c_str(), 1);
    EXPECT_EQ(PrivateFileManager::location(), dir.path() / "prelix10");
    ::setenv("XDG_DATA_HOME", "relative", 1);
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(PrivateFileManager::location(), fs::path("/home/someone/.local/share/prelix10"));
    PrivateFileManager::setPrivateDirectory(Prelix10Test::processPrivateDirectory());
}

TEST(DiagnosticSwitch, OneValueUnderBothNames) {
    EXPECT_TRUE(Prelix10DiagInfoUpload::isLogCollectAndUploadEnabled());
    Prelix10DiagInfoUpload::shared().setIsEnabled(false);
    EXPECT_FALSE(Prelix10DiagInfoUpload::isLogCollectAndUploadEnabled());
    Prelix10DiagInfoUpload::setIsLogCollectAndUploadEnabled(true);
    EXPECT_TRUE(Prelix10DiagInfoUpload::shared().isEnabled());
}

using Bytes = std::vector<std::uint8_t>;

TEST(LoggingService, ByteBlocksInLogLinesAreBounded) {
    EXPECT_EQ(Util::describeBytes(Bytes{}), "[] (0 bytes)");
    EXPECT_EQ(Util::describeBytes(Bytes{0x0A}), "[0A] (1 byte)");
    EXPECT_EQ(Util::describeBytes(Bytes{0x0A, 0xFF}), "[0A, FF] (2 bytes)");
    Bytes exact(Util::kLogBytePrefix, 0x41);
    EXPECT_EQ(Util::describeBytes(exact).find("..."), std::string::npos);
    // A 6 MiB block shows its length and its first bytes, nothing more.
    Bytes big(6 * 1024 * 1024);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i);
    const std::string text = Util::describeBytes(big);
    EXPECT_LE(text.size(), Util::kLogBytePrefix * 4 + 40);
    EXPECT_EQ(text.rfind("[00, 01, 02, ", 0), 0u);
    EXPECT_NE(text.find(", 1F, ...] (6291456 bytes)"), std::string::npos) << text;
}

TEST(LoggingService, CostlyMessagesAreBuiltOnlyWhileLogging) {
    auto& logger = Prelix10Logger::shared();
    const int site = 0;
    Log log(&site, "Probe", "probe()", __LINE__);
    int built = 0;
    auto make = [&] {
        ++built;
        return std::string("costly");
    };
    logger.stop();
    log.writeIfLogging(make);
    EXPECT_EQ(built, 0);
    logger.start();
    log.writeIfLogging(make);
    logger.stop();
    EXPECT_EQ(built, 1);
}
