// Template expansion over arbitrary input. The first byte picks the shape: raw template and field
// data split at the first NUL, or a fixed receipt template whose contents carry the input as
// specifier text. Expansion must never throw, must report failure only as "{}" with a triple, and
// on success must give JSON text.
#include <cstddef>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "prelix10/compiler/TemplatePrintParser.hpp"

namespace {

const char* const kFieldData =
    R"({"price":12.5,"big":1e300,"neg":-3e12,"flag":true,"name":"A}B","a.b":{"c":[1,2]},"x":{"y":"z"},)"
    R"("items":[{"name":"one","qty":1,"price":1.25},{"name":"two","qty":2}],"rows":[[1],[2]],"empty":[]})";

std::string quoted(const std::string& text) {
    return nlohmann::json(text).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string receipt(const std::string& content) {
    const std::string method = R"({"method":"Action.Print.Text","parameter":{"content":)" + quoted(content) + "}}";
    return R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[)"
           R"({"category":"Printer","contents":[)" +
           method +
           R"(,{"category":"PageMode","parameters":[{"method":"Setting.TemplateExtension","parameter":{"enableArrayFieldData":true}},)"
           R"({"method":"Style.PageMode.Area","parameter":{}}],"contents":[)" +
           method + R"(,{"category":"Printer","contents":[)" + method + "]}]}]}]}]}";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string templateText;
    std::string fieldData;
    if (data[0] & 1) {
        templateText = receipt(input);
        fieldData = kFieldData;
    } else {
        const std::size_t split = input.find('\0');
        templateText = input.substr(0, split);
        if (split != std::string::npos) fieldData = input.substr(split + 1);
    }
    std::int32_t typeId = -1;
    std::int32_t code = -1;
    std::int32_t messageId = -1;
    std::string result;
    try {
        result = TemplatePrint::TemplatePrintParser().parse(templateText, fieldData, typeId, code, messageId);
    } catch (...) {
        __builtin_trap();
    }
    if (typeId != -1) {
        if (result != "{}") __builtin_trap();
        return 0;
    }
    if (code != -1 || messageId != -1) __builtin_trap();
    if (result != fieldData && !nlohmann::ordered_json::accept(result)) __builtin_trap();
    return 0;
}
