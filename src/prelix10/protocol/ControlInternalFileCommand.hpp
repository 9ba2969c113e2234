#pragma once

#include <string>

#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

// Writing a file into the printer's internal storage (ESC GS ] F "1").
class ControlInternalFileCommand {
  public:
    class Orvo {
      public:
        // ESC GS ] F "1", the name's length (u16 LE), the ASCII name, the data's length (u32 LE), the data.
        // A name that is not ASCII is the unexpected-state error; a name or data too long for its length
        // field is refused with an argument error.
        static ByteBlock createSendData(const std::string& filename, const ByteBlock& data);
    };
};

// Deleting internal files; no request of the library sends one.
class DeleteInternalFileCommand {
  public:
    class Orvo {};
};

}  // namespace Prelix10
