// Whole command documents through the compile call, for every emulation and a spread of models.
// The first byte picks the emulation and the shape of the input, the second the model, the third a
// variant of the shape:
//   raw      the rest is the document text as it is;
//   envelope the rest is the contents of one category of a valid document (the variant picks which);
//   template the rest is a template and its field data, split at the first NUL, expanded and then
//            compiled;
//   built    the rest drives a generator of nested categories and method items with parameters of
//            every JSON type, compiled directly or (odd variant) expanded with field data first.
// The compile call must never throw or fail inside, must give no bytes for a text that is no JSON,
// and a failed expansion gives "{}" with its error triple.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "prelix10/compiler/VelmarCommandParserEntry.hpp"
#include "prelix10/compiler/VelmarCommandParserWrapper.hpp"

namespace {

using Json = nlohmann::json;

const char* const kEmulations[] = {"Kestrin",    "OrvoLine", "OrvoGraphic", "OrvoDot",
                                   "OrvoYalme1", "EscPos",   "EscPosMobile"};

const char* const kModels[] = {
    "OEM",           "Harlo219KK",   "Harlo399KK",   "Harlo499KK",    "Zunel59",      "Harlo599H",
    "Harlo599MD",    "Harlo599FTQ",  "Harlo599KKH+", "Harlo599ROP",   "Harlo599KKKY", "Harlo599KKKROP",
    "Harlo599KKKJK", "Harlo599KKKH", "Harlo599KZ",   "Harlo599KZ_XW", "Rovan",        "Telva_7",
    "Telva_6",       "Ginor_7",      "Ginor_6",      "Wexal_X759k",   "Wexal_X769k",  "Wexal_D699",
    "Wexal_D899k",   "Wexal_R799",   "Wexal_R699",   "Kelto59",       "Kelto59KK",    "Harlo986",
    "Dalix399",      "Vorne199",     "Pundo5_7GG",   "Pundo5_6GG",    "Pundo5_8G",    "Pundo1_6G",
    "Fenur_Qel",     "Yalme1",       "NoSuchModel"};

struct Method {
    const char* name;
    std::vector<const char*> keys;
};

// Method items the element parsers read, with the parameter names they look at.
const std::vector<Method>& methods() {
    static const std::vector<Method> table = {
        {"Action.Cut", {"type"}},
        {"Action.Feed.Line", {"lines"}},
        {"Action.Feed.Unit", {"height"}},
        {"Action.Feed.Separator", {}},
        {"Action.Print.Barcode",
         {"symbology", "content", "print_hri", "bar_dots", "bar_ratio_level", "height"}},
        {"Action.Print.Image", {"source", "width", "height"}},
        {"Action.Print.Logo", {"key_code", "width", "height"}},
        {"Action.Print.Pdf417", {"content", "line", "column", "level", "module", "aspect"}},
        {"Action.Print.QRCode", {"content", "model", "level", "cell_size"}},
        {"Action.Print.Text", {"content", "width", "widthType", "alignment", "ellipsizeType", "printType"}},
        {"Action.Print.RuledLine", {"x", "width", "thickness", "lineStyle"}},
        {"Action.Print.PageModeImage", {"source", "x", "y", "width", "height"}},
        {"Action.Print.PageModeRuledLine", {"xStart", "yStart", "xEnd", "yEnd", "thickness", "lineStyle"}},
        {"Action.Print.PageModeRectangle",
         {"x", "y", "width", "height", "thickness", "lineStyle", "roundCorner", "cornerRadius"}},
        {"Style.Alignment", {"position"}},
        {"Style.InternationalCharacter", {"type"}},
        {"Style.HorizontalPositionBy", {"position"}},
        {"Style.HorizontalPositionTo", {"position"}},
        {"Style.VerticalPositionBy", {"position"}},
        {"Style.VerticalPositionTo", {"position"}},
        {"Style.HorizontalTabPositions", {"positions"}},
        {"Style.CharacterEncoding", {"type"}},
        {"Style.SecondPriorityCharacterEncoding", {"type"}},
        {"Style.CjkCharacterPriority", {"types"}},
        {"Style.AmbiguousCharacterWidthType", {"type"}},
        {"Style.Bold", {"enable"}},
        {"Style.UnderLine", {"enable"}},
        {"Style.Invert", {"enable"}},
        {"Style.Magnification", {"width", "height"}},
        {"Style.Font", {"type"}},
        {"Style.CharacterSpace", {"width"}},
        {"Style.LineSpace", {"height"}},
        {"Style.BaseMagnification", {"text"}},
        {"Style.PrintDirection", {"direction"}},
        {"Style.PageMode.Area", {"x", "y", "width", "height"}},
        {"Style.CursorPositionTo", {"x", "y"}},
        {"Setting.BlackMark", {"enable", "position"}},
        {"Setting.HoldPrint", {"enable"}},
        {"Setting.Label", {"enable"}},
        {"Setting.PrintableArea", {"width"}},
        {"Setting.TopMargin", {"height"}},
        {"Setting.TemplateExtension", {"enableArrayFieldData"}},
        {"Raw.Send", {"content"}},
        {"Action.Open", {"channel", "on_time"}},
        {"Action.Drive", {"channel", "on_time", "off_time", "repeat"}},
        {"Action.Drive.OneTimeSound", {"source", "volume"}},
        {"Action.Drive.RegisteredSound", {"area", "number", "volume"}},
        {"Action.Show.Text", {"content"}},
        {"Action.Show.Image", {"source", "width", "height"}},
        {"Action.Clear.All", {}},
        {"Action.Clear.Line", {}},
        {"Action.Set.BackLightState", {"on"}},
        {"Action.Set.Contrast", {"value"}},
        {"Action.Set.CursorState", {"value"}},
        {"AutomaticPageLength", {"enable"}},
        {"Led.AutomaticBlink", {"type", "on_time", "off_time"}},
        {"Mode", {"hold", "hold_time", "loop", "retract"}},
    };
    return table;
}

const char* const kKeywords[] = {"A",
                                 "B",
                                 "C",
                                 "Center",
                                 "Left",
                                 "Right",
                                 "Partial",
                                 "Full",
                                 "PartialDirect",
                                 "FullDirect",
                                 "TearOff",
                                 "Code128",
                                 "Code39",
                                 "Code93",
                                 "Ean13",
                                 "Ean8",
                                 "Itf",
                                 "Jan13",
                                 "Jan8",
                                 "NW7",
                                 "UpcA",
                                 "UpcE",
                                 "Level0",
                                 "LevelMinus1",
                                 "LevelPlus1",
                                 "Model1",
                                 "Model2",
                                 "L",
                                 "M",
                                 "Q",
                                 "H",
                                 "Single",
                                 "Double",
                                 "None",
                                 "Japanese",
                                 "Korean",
                                 "SimplifiedChinese",
                                 "TraditionalChinese",
                                 "Usa",
                                 "Japan",
                                 "Front",
                                 "Back",
                                 "LeftToRight",
                                 "RightToLeft",
                                 "TopToBottom",
                                 "BottomToTop",
                                 "On",
                                 "Off",
                                 "Blink",
                                 "Standard",
                                 "Half",
                                 "Legal",
                                 "Start",
                                 "Middle",
                                 "End",
                                 "Area1",
                                 "Area2",
                                 "Default",
                                 "CodePage",
                                 "Plus1",
                                 "Minus1",
                                 "X1_5",
                                 "Always",
                                 "Holding",
                                 "Idle",
                                 "Error",
                                 "GoneWhenEmpty",
                                 "Ecc0",
                                 "Ecc4",
                                 "Ecc8"};

const char* const kCategories[] = {"Printer",       "PageMode",  "Display", "Drawer",   "Buzzer",
                                   "MelodySpeaker", "Presenter", "Bezel",   "Document", "PreSetting"};

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint32_t u16() {
        return static_cast<std::uint32_t>(byte()) | (static_cast<std::uint32_t>(byte()) << 8);
    }
    std::string text(std::size_t most) {
        const std::size_t length = std::min<std::size_t>(byte() % (most + 1), size_ - std::min(at_, size_));
        std::string out(reinterpret_cast<const char*>(data_) + at_, length);
        at_ += length;
        return out;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A parameter value: mostly of the right kind for a printer, sometimes extreme or mistyped.
Json value(Input& in) {
    switch (in.byte() % 14) {
        case 0:
            return static_cast<int>(in.byte());
        case 1:
            return static_cast<int>(static_cast<std::int16_t>(in.u16()));
        case 2:
            return static_cast<double>(static_cast<std::int16_t>(in.u16())) / 16.0;
        case 3: {
            static const double extremes[] = {1e300, -1e300, 3e9, -3e9, 1e12, 2147483648.0, -0.0, 65536.0};
            return extremes[in.byte() % 8];
        }
        case 4:
            return (in.byte() & 1) != 0;
        case 5:
            return nullptr;
        case 6:
        case 7:
            return kKeywords[in.byte() % (sizeof kKeywords / sizeof kKeywords[0])];
        case 8: {
            Json list = Json::array();
            for (int n = in.byte() % 6; n > 0; --n) list.push_back(static_cast<int>(in.byte()));
            return list;
        }
        case 9: {
            Json list = Json::array();
            for (int n = in.byte() % 4; n > 0; --n)
                list.push_back(kKeywords[in.byte() % (sizeof kKeywords / sizeof kKeywords[0])]);
            return list;
        }
        case 10:
            // Escapes as the documents write them, with the field data's specifiers.
            return "\\x1b@${name}\\n${items.name} ${price%.2f}\\";
        default:
            return in.text(48);
    }
}

Json method(Input& in) {
    const Method& chosen = methods()[in.byte() % methods().size()];
    Json parameter = Json::object();
    for (const char* key : chosen.keys) {
        if (in.byte() % 8 != 0) parameter[key] = value(in);
    }
    Json item = {{"method", chosen.name}, {"parameter", parameter}};
    if (in.byte() % 32 == 0) item["parameter"] = value(in);
    return item;
}

Json category(Input& in, int depth) {
    Json element = {{"category", kCategories[in.byte() % (depth == 0 ? 2 : 8)]}};
    Json contents = Json::array();
    if (in.byte() % 3 == 0) {
        Json parameters = Json::array();
        for (int n = in.byte() % 3; n > 0; --n) parameters.push_back(method(in));
        element["parameters"] = parameters;
    }
    for (int n = in.byte() % 12; n > 0 && !in.empty(); --n) {
        if (depth < 6 && in.byte() % 5 == 0) {
            contents.push_back(category(in, depth + 1));
        } else {
            contents.push_back(method(in));
        }
    }
    element["contents"] = contents;
    return element;
}

std::string envelope(const Json& documentContents) {
    return Json({{"title", "VelmarCommand"}, {"version", "1.0.0"}, {"contents", documentContents}})
        .dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string built(Input& in) {
    Json document = {{"category", "Document"}, {"contents", Json::array()}};
    Json top = Json::array();
    if (in.byte() % 4 == 0) {
        Json preSetting = {{"category", "PreSetting"}, {"contents", Json::array()}};
        for (int n = in.byte() % 3; n > 0; --n) preSetting["contents"].push_back(category(in, 1));
        top.push_back(preSetting);
    }
    while (!in.empty() && document["contents"].size() < 16) {
        if (in.byte() % 4 == 0) {
            document["contents"].push_back(method(in));
        } else {
            document["contents"].push_back(category(in, 0));
        }
    }
    top.push_back(document);
    return envelope(top);
}

const char* const kFieldData =
    R"({"name":"Corner Shop","price":1234.5,"items":[{"name":"one","qty":1},{"name":"two","qty":2},)"
    R"({"name":"three","qty":3}],"code":"4901234567894"})";

// Compiles and checks what the compile call promises.
void compile(const std::string& document, const char* emulation, const char* model) {
    const auto result = Prelix10::VelmarCommandParserWrapper::parseWithCommand(document, emulation, model);
    if (result.status == VelmarCommandParser::ParseStatus::invalidJson && result.bytes &&
        !result.bytes->empty())
        __builtin_trap();
    // Only a failure inside the compiler (an exception other than a JSON error) ends so.
    if (result.status == VelmarCommandParser::ParseStatus::failed) __builtin_trap();
    if (!result.bytes && result.status != VelmarCommandParser::ParseStatus::tooLarge) __builtin_trap();
}

std::string expand(const std::string& templateText, const std::string& fieldData) {
    std::int32_t typeId = -1;
    std::int32_t code = -1;
    std::int32_t messageId = -1;
    auto text = Prelix10::VelmarCommandParserWrapper::replaceWithTemplate(templateText, fieldData, &typeId,
                                                                          &code, &messageId);
    if (!text) __builtin_trap();
    if (typeId != -1) {
        if (*text != "{}") __builtin_trap();
        return std::string();
    }
    if (code != -1 || messageId != -1) __builtin_trap();
    return *text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const char* const emulation = kEmulations[(data[0] >> 2) % 7];
    const char* const model = kModels[data[1] % (sizeof kModels / sizeof kModels[0])];
    const std::uint8_t variant = data[2];
    const std::string rest(reinterpret_cast<const char*>(data) + 3, size - 3);
    switch (data[0] & 3) {
        case 0:
            compile(rest, emulation, model);
            break;
        case 1: {
            // The rest as the items of one category, at the depth where that category is read.
            static const char* const heads[] = {
                R"([{"category":"Document","contents":[)",
                R"([{"category":"Document","contents":[{"category":"Printer","contents":[)",
                R"([{"category":"Document","contents":[{"category":"Printer","contents":[{"category":"PageMode","parameters":[{"method":"Style.PageMode.Area","parameter":{"x":0,"y":0,"width":60,"height":80}}],"contents":[)",
                R"([{"category":"Document","contents":[{"category":"Display","contents":[)",
                R"([{"category":"PreSetting","contents":[)",
                R"([)"};
            static const char* const tails[] = {"]}]", "]}]}]", "]}]}]}]", "]}]}]", "]}]", "]"};
            const std::size_t shape = variant % 6;
            const std::string document =
                std::string(R"({"title":"VelmarCommand","version":"1.0.0","contents":)") + heads[shape] +
                rest + tails[shape] + "}";
            compile(document, emulation, model);
            break;
        }
        case 2: {
            const std::size_t split = rest.find('\0');
            const std::string templateText = rest.substr(0, split);
            const std::string fieldData = split == std::string::npos ? kFieldData : rest.substr(split + 1);
            const std::string expanded = expand(templateText, fieldData);
            if (!expanded.empty()) compile(expanded, emulation, model);
            break;
        }
        default: {
            Input in(data + 3, size - 3);
            const bool asTemplate = (variant & 1) != 0;
            const std::string document = built(in);
            if (!asTemplate) {
                compile(document, emulation, model);
                break;
            }
            const std::string expanded = expand(document, kFieldData);
            if (!expanded.empty()) compile(expanded, emulation, model);
            break;
        }
    }
    return 0;
}
