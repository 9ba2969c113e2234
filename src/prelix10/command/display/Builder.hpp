#pragma once

#include <string>

#include "prelix10/command/BaseBuilder.hpp"
#include "prelix10/command/display/DisplaySettingsInformation.hpp"
#include "prelix10/command/display/DisplayTypes.hpp"

namespace PrinterCommandBuilder::Display {

class Builder : public BaseBuilder {
  public:
    Builder(ByteBuffer* buffer, PrinterModel model) : BaseBuilder(buffer, model) {}
    ~Builder() override = default;

    virtual void appendBackLight(bool on) = 0;
    virtual void appendClearAll() = 0;
    virtual void appendClearLine() = 0;
    virtual void appendContrast(ContrastValue value) = 0;
    virtual void appendCursorState(CursorStateValue value) = 0;
    virtual void appendImage(const std::string& source, int width, int height) = 0;
    virtual void appendText(const std::string& content) = 0;
    virtual void appendInternationalCharacter(InternationalCharacterType type) = 0;
    virtual void appendCursorPosition(int x, int y) = 0;
    virtual void appendCharacterEncoding(Encode encode) = 0;
    ByteBuffer* getBuffer() const { return buffer_; }

  protected:
    DisplaySettingsInformation displaySettings_;
};

}  // namespace PrinterCommandBuilder::Display
