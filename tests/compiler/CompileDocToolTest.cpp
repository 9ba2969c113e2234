#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "command/TestHex.hpp"

namespace {

struct Run {
    int status = -1;
    std::string out;
};

// Runs the tool through the shell with the document on standard input; stderr goes to errFile.
Run runTool(const std::string& arguments, const std::string& input, const std::string& errFile) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("compile_doc_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto inputFile = dir / "doc.json";
    std::ofstream(inputFile, std::ios::binary) << input;
    const std::string command = std::string(PRELIX10_BINARY_DIR) + "/tools/prelix10-compile " + arguments +
                                " - < " + inputFile.string() + " 2> " + errFile;
    Run run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> block;
    std::size_t n;
    while ((n = std::fread(block.data(), 1, block.size(), pipe)) > 0) run.out.append(block.data(), n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(CompileDocTool, WritesBytesOrReportsTheError) {
    const std::string err =
        (std::filesystem::temp_directory_path() / ("compile_doc_test_" + std::to_string(::getpid()) + ".err"))
            .string();
    const std::string shell =
        R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[{"category":"Printer","contents":[{"method":"Style.Bold","parameter":{"enable":true}}]}]}]})";
    const auto kestrin = runTool("--emulation Kestrin --model Harlo599KZ", shell, err);
    EXPECT_EQ(kestrin.status, 0);
    EXPECT_EQ(TestHex::hex(kestrin.out),
              "1B 52 00 1B 44 08 10 18 20 28 30 38 40 48 50 58 60 68 70 78 80 00 1B 1D 29 55 02 00 40 00 1B "
              "45 1B 46 1B "
              "44 00");
    // Public names work as well as the compiler's.
    EXPECT_EQ(runTool("--emulation kestrin --model harlo599KZ", shell, err).out, kestrin.out);

    const auto invalid = runTool("--emulation escPos --model harlo599KZ", "{", err);
    EXPECT_EQ(invalid.status, 1);
    EXPECT_TRUE(invalid.out.empty());
    const std::string message = readFile(err);
    EXPECT_NE(message.find("argument"), std::string::npos) << message;
    EXPECT_NE(message.find("5000"), std::string::npos) << message;
    EXPECT_NE(message.find("JSON format error."), std::string::npos) << message;

    // "unknown" is no model a printer has: it is refused as a bad argument, before compiling.
    const auto noModel = runTool("--emulation escPos --model unknown", shell, err);
    EXPECT_EQ(noModel.status, 2);
    EXPECT_TRUE(noModel.out.empty());
    EXPECT_NE(readFile(err).find("unknown model 'unknown'"), std::string::npos) << readFile(err);

    EXPECT_EQ(runTool("--emulation EscPos", shell, err).status, 2);
    std::filesystem::remove(err);
    std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                ("compile_doc_test_" + std::to_string(::getpid())));
}
