#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

class ExpandTemplateTool : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ =
            std::filesystem::temp_directory_path() / ("expand_template_test_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string write(const std::string& name, const std::string& content) {
        const auto path = dir_ / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }

    ToolRun run(const std::string& arguments) {
        const std::string errFile = (dir_ / "stderr").string();
        const std::string command =
            std::string(PRELIX10_BINARY_DIR) + "/tools/prelix10-expand-template " + arguments + " 2> " + errFile;
        ToolRun result;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) return result;
        std::array<char, 4096> block;
        std::size_t n;
        while ((n = std::fread(block.data(), 1, block.size(), pipe)) > 0) result.out.append(block.data(), n);
        const int status = ::pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream in(errFile);
        result.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return result;
    }

    std::filesystem::path dir_;
};

const char* const kTemplate =
    R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[)"
    R"({"method":"Action.Print.Text","parameter":{"content":"${price%.2f}"}}]}]})";

}  // namespace

TEST_F(ExpandTemplateTool, PrintsTheExpandedDocument) {
    ToolRun result = run(write("t.json", kTemplate) + " " + write("f.json", R"({"price":12.5})"));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out,
              "{\n\t\"title\": \"VelmarCommand\",\n\t\"version\": \"1.0.0\",\n\t\"contents\": "
              "[\n\t\t{\n\t\t\t\"category\": "
              "\"Document\",\n\t\t\t\"contents\": [\n\t\t\t\t{\n\t\t\t\t\t\"method\": "
              "\"Action.Print.Text\",\n\t\t\t\t\t"
              "\"parameter\": {\n\t\t\t\t\t\t\"content\": "
              "\"12.50\"\n\t\t\t\t\t}\n\t\t\t\t}\n\t\t\t]\n\t\t}\n\t]\n}\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(ExpandTemplateTool, ReportsTheErrorTriple) {
    ToolRun result = run(write("t.json", kTemplate) + " " + write("f.json", "{"));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("errorTypeId=1 errorCode=5000 errorMessageId=7000"), std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("Field data is Invalid JSON format."), std::string::npos) << result.err;

    EXPECT_EQ(run(write("t.json", kTemplate)).status, 2);
    EXPECT_EQ(run(write("t.json", kTemplate) + " " + (dir_ / "missing.json").string()).status, 2);
}
