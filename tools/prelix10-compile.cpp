// prelix10-compile --emulation NAME --model MODELNAME [--template FILE] DOC
//
// Compiles a command document (DOC, a file or "-" for standard input) and writes the bytes to
// standard output; --help describes the options, --list-emulations and --list-models the names.
// Compilation errors go to standard error with their kind, code and message on one line, the exit
// status is 1, and nothing is written to standard output. Bad arguments (an unknown emulation or model,
// a document that is no command document) and unreadable files exit with status 2.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "prelix10/command/PrinterModelFactory.hpp"
#include "prelix10/compiler/VelmarCommandParser.hpp"
#include "prelix10/compiler/VelmarCommandParserWrapper.hpp"
#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/core/OrvoPrinterModel.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/core/PrinterSpecConstants.hpp"
#include "prelix10/printer/PrinterSpec.hpp"
#include "ToolCommon.hpp"

using namespace Prelix10;

namespace {

constexpr const char* kTool = "prelix10-compile";
const char* const kUsage = "usage: prelix10-compile --emulation NAME --model MODELNAME [--template FILE] DOC";

const char* const kHelp =
    "usage: prelix10-compile --emulation NAME --model MODELNAME [--template FILE] DOC\n"
    "Compiles a command document and writes the printer bytes to standard output.\n"
    "\n"
    "  --emulation NAME   the printer's emulation, such as escPos or EscPos (required; see --list-emulations)\n"
    "  --model MODELNAME  the printer's model, such as harlo599KZ, Harlo599KZ or the name discovery reports,\n"
    "                     such as Ginor65 (required; see --list-models)\n"
    "  --template FILE    DOC is field data that fills the template in FILE (default: DOC is the document)\n"
    "  DOC                the command document, a file or - for standard input\n"
    "  --list-emulations  list the emulation names and exit\n"
    "  --list-models      list the model names and exit\n"
    "  --help             show this help and exit\n"
    "  --version          show the version and exit\n"
    "\n"
    "Exit status: 0 with the bytes on standard output; 1 when the document does not compile (kind, code and\n"
    "message on standard error); 2 for a bad argument, an unknown name or an unreadable file.\n";

ToolCommon::ToolFailure usage(const std::string& why) { return {why + " (" + kUsage + ")", 2}; }

// The compiler core's emulation names, which reach the display emulation too.
const char* const kCompilerEmulations[] = {"Kestrin",    "OrvoLine", "OrvoGraphic", "OrvoDot",
                                           "OrvoYalme1", "EscPos",   "EscPosMobile"};

// A value as it can stand in one line of a message: control bytes shown as '?', long values cut.
std::string shown(const std::string& value) {
    std::string text = value.substr(0, 60);
    for (auto& c : text)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return "'" + text + (value.size() > 60 ? "...'" : "'");
}

std::optional<OrvoPrinterEmulation> publicEmulation(const std::string& name) {
    for (int raw = 1; raw <= 6; ++raw) {
        const auto emulation = *PrinterEmulations::fromRawValue(raw);
        if (name == PrinterEmulations::description(emulation) ||
            name == Prelix10::VelmarCommandParser::emulationName(emulation))
            return emulation;
    }
    return std::nullopt;
}

std::optional<OrvoPrinterModel> publicModel(const std::string& name) {
    for (auto model : PrinterModels::allCases())
        if (model != OrvoPrinterModel::unknown && name == PrinterModels::description(model)) return model;
    // Building the model table also fills the compiler's model names, so it comes before the lock.
    const auto& specs = PrinterSpecTable::specTable();
    {
        std::lock_guard<std::mutex> guard(PrinterSpecConstants::lock());
        for (const auto& [model, spec] : PrinterSpecConstants::compilerModelTable())
            if (spec.velmarCommandParserModelName == name) return model;
    }
    // The names discovery and the accessory layer report ("Ginor65", "Ginor65 (ORV-001)").
    for (const auto& [model, spec] : specs) {
        for (const auto& pattern : {spec.deviceModelPattern, spec.accessoryModelNumberPattern}) {
            if (!pattern) continue;
            try {
                if (std::regex_search(name, std::regex(pattern->strict))) return model;
            } catch (const std::regex_error&) {
            }
        }
    }
    return std::nullopt;
}

// Whether a compiler model name is one the core knows (models the public enumeration does not reach).
bool compilerModelName(const std::string& name) {
    return PrinterCommandBuilder::PrinterModelFactory(name).create() != PrinterCommandBuilder::PrinterModel::Unknown;
}

int listEmulations() {
    for (int raw = 1; raw <= 6; ++raw) {
        const auto emulation = *PrinterEmulations::fromRawValue(raw);
        const auto coreName = Prelix10::VelmarCommandParser::emulationName(emulation);
        std::printf("%s%s%s\n", PrinterEmulations::description(emulation).c_str(), coreName ? " " : "",
                    coreName.value_or("").c_str());
    }
    for (const char* name : kCompilerEmulations)
        if (!publicEmulation(name)) std::printf("%s\n", name);
    return 0;
}

int listModels() {
    PrinterSpecTable::specTable();
    std::lock_guard<std::mutex> guard(PrinterSpecConstants::lock());
    for (auto model : PrinterModels::allCases()) {
        if (model == OrvoPrinterModel::unknown) continue;
        std::string line = PrinterModels::description(model);
        for (const auto& [tableModel, spec] : PrinterSpecConstants::compilerModelTable())
            if (tableModel == model && spec.velmarCommandParserModelName && *spec.velmarCommandParserModelName != line)
                line += " " + *spec.velmarCommandParserModelName;
        std::printf("%s\n", line.c_str());
    }
    // Models the compiler core knows beyond the public enumeration, which compile without a template only.
    for (const auto& name : PrinterCommandBuilder::PrinterModelFactory::names()) {
        bool listed = false;
        for (const auto& [tableModel, spec] : PrinterSpecConstants::compilerModelTable())
            listed = listed || spec.velmarCommandParserModelName == name;
        if (!listed) std::printf("%s\n", name.c_str());
    }
    return 0;
}

// Refuses JSON that is no command document; text that is no JSON at all is left to the compiler, which
// reports it as its own format error.
void checkCommandDocument(const std::string& path, const std::string& document) {
    const auto json = nlohmann::json::parse(document, nullptr, false);
    if (json.is_discarded()) return;
    const bool isDocument = json.is_object() && json.contains("title") && json["title"] == "VelmarCommand" &&
                            json.contains("version") && json["version"].is_string() &&
                            json["version"].get<std::string>().starts_with("1.") && json.contains("contents") &&
                            json["contents"].is_array();
    if (!isDocument)
        throw ToolCommon::ToolFailure{(path == "-" ? std::string("standard input") : path) + " holds " +
                                      shown(json.dump()) +
                                      ", which is no command document (an object with \"title\": \"VelmarCommand\", "
                                      "a \"version\" of 1.x and a \"contents\" array)"};
}

}  // namespace

int main(int argc, char** argv) {
    return ToolCommon::run(kTool, [&]() -> int {
        std::string emulationName, modelName, documentPath;
        std::optional<std::string> templatePath;
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            auto value = [&](const char* what) {
                if (i + 1 >= argc) throw usage(arg + " needs " + what);
                return std::string(argv[++i]);
            };
            if (arg == "--help") {
                std::fputs(kHelp, stdout);
                return 0;
            } else if (arg == "--version") {
                std::printf("%s\n", ToolCommon::versionLine(kTool).c_str());
                return 0;
            } else if (arg == "--list-emulations") {
                return listEmulations();
            } else if (arg == "--list-models") {
                return listModels();
            } else if (arg == "--emulation") {
                emulationName = value("a name");
            } else if (arg == "--model") {
                modelName = value("a name");
            } else if (arg == "--template") {
                templatePath = value("a file");
            } else if (arg.size() > 1 && arg[0] == '-') {
                throw usage("unknown option " + arg);
            } else if (!documentPath.empty()) {
                throw usage("more than one document given");
            } else {
                documentPath = arg;
            }
        }
        if (emulationName.empty() || modelName.empty() || documentPath.empty()) throw usage("missing arguments");

        const auto emulation = publicEmulation(emulationName);
        if (!emulation && std::find(std::begin(kCompilerEmulations), std::end(kCompilerEmulations),
                                    emulationName) == std::end(kCompilerEmulations))
            throw usage("unknown emulation " + shown(emulationName) + "; --list-emulations shows the names");
        const auto model = publicModel(modelName);
        if (!model && !compilerModelName(modelName))
            throw usage("unknown model " + shown(modelName) + "; --list-models shows the names");

        const std::string document = ToolCommon::readAll(documentPath);
        std::optional<std::string> templateText;
        if (templatePath) templateText = ToolCommon::readAll(*templatePath);
        if (!templateText) checkCommandDocument(documentPath, document);

        std::vector<std::uint8_t> bytes;
        try {
            if (emulation && model) {
                bytes = Prelix10::VelmarCommandParser().parse(document, templateText, *model, *emulation);
            } else if (!templateText) {
                // Names the public enumerations do not reach (the display emulation "OrvoYalme1", models
                // such as "Pundo5_7GG") go to the compiler core as given.
                std::string coreModelName = modelName;
                if (model) {
                    std::lock_guard<std::mutex> guard(PrinterSpecConstants::lock());
                    for (const auto& [tableModel, spec] : PrinterSpecConstants::compilerModelTable())
                        if (tableModel == *model && spec.velmarCommandParserModelName)
                            coreModelName = *spec.velmarCommandParserModelName;
                }
                auto result = VelmarCommandParserWrapper::parseWithCommand(document, emulationName, coreModelName);
                if (result.status == ::VelmarCommandParser::ParseStatus::invalidJson)
                    throw Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::jsonFormatError,
                                        Prelix10ErrorCode::jsonFormatError);
                if (!result.bytes) throw ToolCommon::ToolFailure{"kind=unknown code=none message=Compilation gave no bytes.", 1};
                bytes = std::move(*result.bytes);
            } else {
                throw usage("templates need an emulation and a model of the printer object");
            }
        } catch (const Prelix10Error& error) {
            throw ToolCommon::ToolFailure{"kind=" + ErrorKinds::caseName(error.kind()) + " code=" +
                                              ErrorCodes::description(error.errorCode()) + "(" +
                                              std::to_string(static_cast<int>(error.errorCode())) +
                                              ") message=" + error.message(),
                                          1};
        }
        if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
            throw ToolCommon::ToolFailure{"cannot write the bytes to standard output", 1};
        if (std::fflush(stdout) != 0) throw ToolCommon::ToolFailure{"cannot write the bytes to standard output", 1};
        return 0;
    });
}
