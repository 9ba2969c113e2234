#include "prelix10/compiler/VelmarCommandParser.hpp"

#include <map>
#include <mutex>

#include "prelix10/compiler/VelmarCommandParserWrapper.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/core/PrinterSpecConstants.hpp"

namespace Prelix10 {

namespace {

const char* const kTypeName = "VelmarCommandParser";
const char* const kMethodName = "parse(data:template:model:emulation:)";

// Raises the unexpected-state error of line, logged at logLine while logging is on.
[[noreturn]] void raiseUnexpected(const void* sender, int line, int logLine) {
    raiseError(Log(sender, kTypeName, kMethodName, logLine),
               Prelix10Error(Prelix10ErrorKind::unknown, makeUnexpectedStateMessage(kTypeName, line)));
}

}  // namespace

std::optional<std::string> VelmarCommandParser::emulationName(OrvoPrinterEmulation emulation) {
    static const std::map<int, std::string> names = {{0, "Unknown"},     {1, "OrvoLine"}, {2, "OrvoDot"},
                                                     {3, "OrvoGraphic"}, {4, "Kestrin"},  {5, "EscPos"},
                                                     {6, "EscPosMobile"}};
    const auto found = names.find(static_cast<int>(emulation));
    if (found == names.end()) return std::nullopt;
    return found->second;
}

std::vector<std::uint8_t> VelmarCommandParser::parse(const std::string& data,
                                                     const std::optional<std::string>& templateText,
                                                     OrvoPrinterModel model, OrvoPrinterEmulation emulation) {
    std::optional<CompilerModelSpec> spec;
    {
        std::lock_guard<std::mutex> guard(PrinterSpecConstants::lock());
        spec = PrinterSpecConstants::findCompilerModelSpec(model);
    }
    if (!spec || !spec->velmarCommandParserModelName) raiseUnexpected(this, 21, 22);
    const std::string modelName = *spec->velmarCommandParserModelName;

    const auto emulationText = emulationName(emulation);
    if (!emulationText) raiseUnexpected(this, 27, 28);

    if (!templateText) return compile(data, *emulationText, modelName);

    std::int32_t errorTypeId = -1;
    std::int32_t errorCode = -1;
    std::int32_t errorMessageId = -1;
    const auto expanded = VelmarCommandParserWrapper::replaceWithTemplate(*templateText, data, &errorTypeId,
                                                                          &errorCode, &errorMessageId);
    if (errorTypeId != -1)
        raiseError(Log(this, kTypeName, kMethodName, 47),
                   Prelix10ErrorThrower::makeError(errorTypeId, errorCode, errorMessageId));
    if (!expanded) raiseUnexpected(this, 52, 53);
    return compile(*expanded, *emulationText, modelName);
}

std::vector<std::uint8_t> VelmarCommandParser::compile(const std::string& command,
                                                       const std::string& emulationName,
                                                       const std::string& modelName) {
    auto result = VelmarCommandParserWrapper::parseWithCommand(command, emulationName, modelName);
    if (result.status == ::VelmarCommandParser::ParseStatus::invalidJson)
        raiseError(Log(this, kTypeName, kMethodName, 64),
                   Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::jsonFormatError,
                                 Prelix10ErrorCode::jsonFormatError));
    if (!result.bytes) raiseUnexpected(this, 67, 68);
    return std::move(*result.bytes);
}

}  // namespace Prelix10
