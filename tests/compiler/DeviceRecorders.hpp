// Device builders that record the calls they receive as text, for the device element tests.
#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "prelix10/command/KestrinBuilder.hpp"
#include "prelix10/command/bezel/Builder.hpp"
#include "prelix10/command/buzzer/Builder.hpp"
#include "prelix10/command/display/Builder.hpp"
#include "prelix10/command/document/Builder.hpp"
#include "prelix10/command/drawer/Builder.hpp"
#include "prelix10/command/melodyspeaker/Builder.hpp"
#include "prelix10/command/presenter/Builder.hpp"
#include "prelix10/command/presetting/Builder.hpp"

namespace DeviceRecording {

using namespace PrinterCommandBuilder;
using Log = std::vector<std::string>;

template <typename... T>
std::string call(const std::string& name, const T&... values) {
    std::ostringstream out;
    out << name << "(";
    bool first = true;
    ((out << (first ? "" : ",") << values, first = false), ...);
    out << ")";
    return out.str();
}

inline int n(auto value) {
    return static_cast<int>(value);
}

inline std::string rankText(std::size_t rank) {
    return rank == static_cast<std::size_t>(-1) ? std::string("all-ones") : std::to_string(rank);
}

// Records under a tag; ranks as "Tag.rank(n)".
class Recorder {
  public:
    Recorder(Log* log, std::string tag) : log_(log), tag_(std::move(tag)) {}
    template <typename... T>
    void put(const std::string& name, const T&... values) {
        log_->push_back(tag_ + "." + call(name, values...));
    }
    void rank(std::size_t r) { log_->push_back(tag_ + ".rank(" + rankText(r) + ")"); }

  private:
    Log* log_;
    std::string tag_;
};

class DisplayRecorder : public Display::Builder, Recorder {
  public:
    DisplayRecorder(ByteBuffer* b, PrinterModel m, Log* log)
        : Display::Builder(b, m), Recorder(log, "Display") {}
    void notifyRank(std::size_t r) override { rank(r); }
    void appendBackLight(bool on) override { put("appendBackLight", on); }
    void appendClearAll() override { put("appendClearAll"); }
    void appendClearLine() override { put("appendClearLine"); }
    void appendContrast(Display::ContrastValue v) override { put("appendContrast", n(v)); }
    void appendCursorState(Display::CursorStateValue v) override { put("appendCursorState", n(v)); }
    void appendImage(const std::string& s, int w, int h) override { put("appendImage", s, w, h); }
    void appendText(const std::string& c) override { put("appendText", c); }
    void appendInternationalCharacter(Display::InternationalCharacterType t) override {
        put("appendInternationalCharacter", n(t));
    }
    void appendCursorPosition(int x, int y) override { put("appendCursorPosition", x, y); }
    void appendCharacterEncoding(Display::Encode e) override { put("appendCharacterEncoding", n(e)); }
};

class DrawerRecorder : public Drawer::Builder, Recorder {
  public:
    DrawerRecorder(ByteBuffer* b, PrinterModel m, Log* log)
        : Drawer::Builder(b, m), Recorder(log, "Drawer") {}
    void notifyRank(std::size_t r) override { rank(r); }
    void appendActionExecute(Drawer::DrawerChannel c, int on, int off) override {
        put("appendActionExecute", n(c), on, off);
    }
};

class BuzzerRecorder : public Buzzer::Builder, Recorder {
  public:
    BuzzerRecorder(ByteBuffer* b, PrinterModel m, Log* log)
        : Buzzer::Builder(b, m), Recorder(log, "Buzzer") {}
    void notifyRank(std::size_t r) override { rank(r); }
    void appendActionExecute(Buzzer::BuzzerChannel c, int repeat) override {
        put("appendActionExecute", n(c), repeat);
    }
    void appendSetingExecuteTime(Buzzer::BuzzerChannel c, int on, int off) override {
        put("appendSetingExecuteTime", n(c), on, off);
    }
};

class MelodySpeakerRecorder : public MelodySpeaker::Builder, Recorder {
  public:
    MelodySpeakerRecorder(ByteBuffer* b, PrinterModel m, Log* log)
        : MelodySpeaker::Builder(b, m), Recorder(log, "MelodySpeaker") {}
    void notifyRank(std::size_t r) override { rank(r); }
    void appendActionDriveRegisteredSound(MelodySpeaker::Area a, int number, int volume, int r1, int r2,
                                          int r3) override {
        put("appendActionDriveRegisteredSound", n(a), number, volume, r1, r2, r3);
    }
    void appendActionDriveOneTimeSound(const std::string& s, int volume) override {
        put("appendActionDriveOneTimeSound", s, volume);
    }
};

class PresenterRecorder : public Presenter::Builder, Recorder {
  public:
    PresenterRecorder(ByteBuffer* b, PrinterModel m, Log* log)
        : Presenter::Builder(b, m), Recorder(log, "Presenter") {}
    void notifyRank(std::size_t r) override { rank(r); }
    void appendMode(bool loop, bool hold, bool retract, int t) override {
        put("appendMode", loop, hold, retract, t);
    }
    void appendLedAutomaticBlink(Presenter::LedType type, int on, int off) override {
        put("appendLedAutomaticBlink", n(type), on, off);
    }
    void appendLedMode() override { put("appendLedMode"); }
};

class BezelRecorder : public Bezel::Builder, Recorder {
  public:
    BezelRecorder(ByteBuffer* b, PrinterModel m, Log* log) : Bezel::Builder(b, m), Recorder(log, "Bezel") {}
    void notifyRank(std::size_t r) override { rank(r); }
    void appendAutomaticPageLength(bool on) override { put("appendAutomaticPageLength", on); }
    void appendLedMode() override { put("appendLedMode"); }
    void appendLedAutomaticBlink(Bezel::LedType type, int on, int off) override {
        put("appendLedAutomaticBlink", n(type), on, off);
    }
};

class PreSettingRecorder : public PreSetting::Builder, Recorder {
  public:
    PreSettingRecorder(ByteBuffer* b, PrinterModel m, Log* log)
        : PreSetting::Builder(b, m), Recorder(log, "PreSetting") {}
    void notifyRank(std::size_t r) override { rank(r); }
};

class DocumentRecorder : public Document::Builder, Recorder {
  public:
    DocumentRecorder(ByteBuffer* b, PrinterModel m, Log* log)
        : Document::Builder(b, m), Recorder(log, "Document") {}
    void notifyRank(std::size_t r) override { rank(r); }
    void appendBlackMark(bool enable, bool second, Document::BlackMarkPosition p) override {
        put("appendBlackMark", enable, second, n(p));
    }
    void appendLabel(bool enable, bool second) override { put("appendLabel", enable, second); }
    void appendHoldPrint(bool enable) override { put("appendHoldPrint", enable); }
    void appendPrintableArea(double width) override { put("appendPrintableArea", width); }
    void appendTopMargin(int height) override { put("appendTopMargin", height); }
};

// A Kestrin tree whose device builders record instead of emitting; the printer builders are real.
class RecordingRoot : public KestrinBuilder {
  public:
    RecordingRoot(ByteBuffer* buffer, PrinterModel model, Log* log) : KestrinBuilder(buffer, model) {
        display_ = std::make_unique<DisplayRecorder>(buffer, model, log);
        drawer_ = std::make_unique<DrawerRecorder>(buffer, model, log);
        buzzer_ = std::make_unique<BuzzerRecorder>(buffer, model, log);
        melodySpeaker_ = std::make_unique<MelodySpeakerRecorder>(buffer, model, log);
        presenter_ = std::make_unique<PresenterRecorder>(buffer, model, log);
        bezel_ = std::make_unique<BezelRecorder>(buffer, model, log);
        preSetting_ = std::make_unique<PreSettingRecorder>(buffer, model, log);
        document_ = std::make_unique<DocumentRecorder>(buffer, model, log);
    }
};

}  // namespace DeviceRecording
