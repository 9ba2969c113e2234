#pragma once

#include <memory>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/bezel/Builder.hpp"
#include "prelix10/command/buzzer/Builder.hpp"
#include "prelix10/command/display/Builder.hpp"
#include "prelix10/command/document/Builder.hpp"
#include "prelix10/command/drawer/Builder.hpp"
#include "prelix10/command/melodyspeaker/Builder.hpp"
#include "prelix10/command/presenter/Builder.hpp"
#include "prelix10/command/presetting/Builder.hpp"
#include "prelix10/command/printer/Builder.hpp"
#include "prelix10/command/printer/PageModeBuilder.hpp"
#include "prelix10/command/printer/SettingsStack.hpp"

namespace PrinterCommandBuilder {

// The builder tree of one emulation for one compilation: one builder per device, sharing the
// buffer; the printer and page-mode builders share the style stack kept here.
class RootBuilder {
  public:
    RootBuilder(ByteBuffer* buffer, PrinterModel model) : buffer_(buffer), model_(model) {}
    RootBuilder(const RootBuilder&) = delete;
    RootBuilder& operator=(const RootBuilder&) = delete;
    virtual ~RootBuilder();

    Buzzer::Builder* getBuzzerBuilder() const { return buzzer_.get(); }
    Display::Builder* getDisplayBuilder() const { return display_.get(); }
    Document::Builder* getDocumentBuilder() const { return document_.get(); }
    Drawer::Builder* getDrawerBuilder() const { return drawer_.get(); }
    MelodySpeaker::Builder* getMelodySpeakerBuilder() const { return melodySpeaker_.get(); }
    Printer::Builder* getPrinterBuilder() const { return printer_.get(); }
    Printer::PageModeBuilder* getPrinterPageModeBuilder() const { return printerPageMode_.get(); }
    PreSetting::Builder* getPreSettingBuilder() const { return preSetting_.get(); }
    Presenter::Builder* getPresenterBuilder() const { return presenter_.get(); }
    Bezel::Builder* getBezelBuilder() const { return bezel_.get(); }

    PrinterModel getModel() const { return model_; }
    const Printer::SettingsStack& settingsStack() const { return settingsStack_; }

  protected:
    ByteBuffer* buffer_;
    PrinterModel model_;
    Printer::SettingsStack settingsStack_;
    std::unique_ptr<Buzzer::Builder> buzzer_;
    std::unique_ptr<Display::Builder> display_;
    std::unique_ptr<Document::Builder> document_;
    std::unique_ptr<Drawer::Builder> drawer_;
    std::unique_ptr<MelodySpeaker::Builder> melodySpeaker_;
    std::unique_ptr<Printer::Builder> printer_;
    std::unique_ptr<Printer::PageModeBuilder> printerPageMode_;
    std::unique_ptr<PreSetting::Builder> preSetting_;
    std::unique_ptr<Presenter::Builder> presenter_;
    std::unique_ptr<Bezel::Builder> bezel_;
};

}  // namespace PrinterCommandBuilder
