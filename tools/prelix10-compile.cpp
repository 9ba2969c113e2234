// prelix10-compile --emulation NAME --model MODELNAME [--template FILE] DOC
//
// Compiles a command document (DOC, a file or "-" for standard input) and writes the bytes to
// standard output. With --template, DOC is the field data that fills the template. NAME is an
// emulation ("escPos" or the compiler's "EscPos"); MODELNAME a printer model ("harlo599KZ") or a
// compiler model name ("Harlo599KZ"). Errors go to standard error with their kind, code and
// message on one line, the exit status is 1, and nothing is written to standard output. Bad arguments
// and unreadable files exit with status 2.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "prelix10/compiler/VelmarCommandParser.hpp"
#include "prelix10/compiler/VelmarCommandParserWrapper.hpp"
#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/core/OrvoPrinterModel.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/core/PrinterSpecConstants.hpp"
#include "ToolCommon.hpp"

using namespace Prelix10;

namespace {

const char* const kUsage = "usage: prelix10-compile --emulation NAME --model MODELNAME [--template FILE] DOC";

ToolCommon::ToolFailure usage(const std::string& why) { return {why + " (" + kUsage + ")", 2}; }

std::optional<OrvoPrinterEmulation> publicEmulation(const std::string& name) {
    for (int raw = 0; raw <= 6; ++raw) {
        const auto emulation = *PrinterEmulations::fromRawValue(raw);
        if (name == PrinterEmulations::description(emulation) ||
            name == Prelix10::VelmarCommandParser::emulationName(emulation))
            return emulation;
    }
    return std::nullopt;
}

std::optional<OrvoPrinterModel> publicModel(const std::string& name) {
    for (auto model : PrinterModels::allCases())
        if (name == PrinterModels::description(model)) return model;
    std::lock_guard<std::mutex> guard(PrinterSpecConstants::lock());
    for (const auto& [model, spec] : PrinterSpecConstants::compilerModelTable())
        if (spec.velmarCommandParserModelName == name) return model;
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    return ToolCommon::run("prelix10-compile", [&]() -> int {
        std::string emulationName, modelName, documentPath;
        std::optional<std::string> templatePath;
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            auto value = [&](const char* what) {
                if (i + 1 >= argc) throw usage(arg + " needs " + what);
                return std::string(argv[++i]);
            };
            if (arg == "--emulation") {
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

        const std::string document = ToolCommon::readAll(documentPath);
        std::optional<std::string> templateText;
        if (templatePath) templateText = ToolCommon::readAll(*templatePath);

        std::vector<std::uint8_t> bytes;
        const auto emulation = publicEmulation(emulationName);
        static const char* const kCompilerEmulations[] = {"Kestrin",    "OrvoLine", "OrvoGraphic", "OrvoDot",
                                                          "OrvoYalme1", "EscPos",   "EscPosMobile"};
        if (!emulation && std::find(std::begin(kCompilerEmulations), std::end(kCompilerEmulations),
                                    emulationName) == std::end(kCompilerEmulations))
            throw usage("unknown emulation " + emulationName);
        const auto model = publicModel(modelName);
        try {
            if (emulation && model) {
                bytes = Prelix10::VelmarCommandParser().parse(document, templateText, *model, *emulation);
            } else if (!templateText) {
                // Names the public enumerations do not reach (the display emulation "OrvoYalme1", models
                // such as "Pundo5_7GG") go to the compiler core as given.
                auto result = VelmarCommandParserWrapper::parseWithCommand(document, emulationName, modelName);
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
