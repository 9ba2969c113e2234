#pragma once

#include "prelix10/command/display/Builder.hpp"

namespace PrinterCommandBuilder::Display {

class OrvoLineBuilder : public Builder {
  public:
    OrvoLineBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoLineBuilder() override = default;

    void appendBackLight(bool on) override;
    void appendClearAll() override;
    void appendClearLine() override;
    void appendContrast(ContrastValue value) override;
    void appendCursorState(CursorStateValue value) override;
    void appendImage(const std::string& source, int width, int height) override;
    void appendText(const std::string& content) override;
    void appendInternationalCharacter(InternationalCharacterType type) override;
    void appendCursorPosition(int x, int y) override;
    void appendCharacterEncoding(Encode encode) override;
};

}  // namespace PrinterCommandBuilder::Display
