// compile_doc --emulation NAME --model MODELNAME [--template FILE] DOC
//
// Compiles a command document (DOC, a file or "-" for standard input) and writes the bytes to
// standard output. With --template, DOC is the field data that fills the template. NAME is an
// emulation ("escPos" or the compiler's "EscPos"); MODELNAME a printer model ("harlo599KZ") or a
// compiler model name ("Harlo599KZ"). Errors go to standard error with their kind, code and
// message, and the exit status is 1.
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

using namespace Prelix10;

namespace {

int fail(const std::string& kind, const std::string& code, const std::string& message) {
    std::cerr << "error: kind=" << kind << " code=" << code << " message=" << message << "\n";
    return 1;
}

int usage(const std::string& why) {
    std::cerr << "compile_doc: " << why << "\n"
              << "usage: compile_doc --emulation NAME --model MODELNAME [--template FILE] DOC\n";
    return 1;
}

std::optional<std::string> readAll(const std::string& path) {
    if (path == "-")
        return std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

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
    std::string emulationName, modelName, documentPath;
    std::optional<std::string> templatePath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        if (arg == "--emulation") {
            if (!value(emulationName)) return usage("--emulation needs a name");
        } else if (arg == "--model") {
            if (!value(modelName)) return usage("--model needs a name");
        } else if (arg == "--template") {
            std::string path;
            if (!value(path)) return usage("--template needs a file");
            templatePath = path;
        } else if (!documentPath.empty()) {
            return usage("more than one document given");
        } else {
            documentPath = arg;
        }
    }
    if (emulationName.empty() || modelName.empty() || documentPath.empty()) return usage("missing arguments");

    const auto document = readAll(documentPath);
    if (!document) return usage("cannot read " + documentPath);
    std::optional<std::string> templateText;
    if (templatePath) {
        templateText = readAll(*templatePath);
        if (!templateText) return usage("cannot read " + *templatePath);
    }

    std::vector<std::uint8_t> bytes;
    const auto emulation = publicEmulation(emulationName);
    const auto model = publicModel(modelName);
    try {
        if (emulation && model) {
            bytes = Prelix10::VelmarCommandParser().parse(*document, templateText, *model, *emulation);
        } else if (!templateText) {
            // Names the public enumerations do not reach (the display emulation "OrvoYalme1", models
            // such as "Pundo5_7GG") go to the compiler core as given.
            auto result = VelmarCommandParserWrapper::parseWithCommand(*document, emulationName, modelName);
            if (result.status == ::VelmarCommandParser::ParseStatus::invalidJson)
                throw Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::jsonFormatError,
                                    Prelix10ErrorCode::jsonFormatError);
            if (!result.bytes) return fail("unknown", "none", "Compilation gave no bytes.");
            bytes = std::move(*result.bytes);
        } else {
            return usage("templates need an emulation and a model of the printer object");
        }
    } catch (const Prelix10Error& error) {
        return fail(ErrorKinds::caseName(error.kind()),
                    ErrorCodes::description(error.errorCode()) + "(" +
                        std::to_string(static_cast<int>(error.errorCode())) + ")",
                    error.message());
    }
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
