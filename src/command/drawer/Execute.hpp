#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/drawer/DrawerTypes.hpp"

namespace PrinterCommandBuilder::Drawer {

// Open a cash drawer.
class Execute {
  public:
    static void kestrin(ByteBuffer* buffer, DrawerChannel channel, int onTime, int offTime,
                        PrinterModel model);
    static void orvoCommon(ByteBuffer* buffer, DrawerChannel channel, int onTime, int offTime);
    static void escpos(ByteBuffer* buffer, DrawerChannel channel, int onTime, int offTime);
    static void escposMobile(ByteBuffer* buffer, DrawerChannel channel, int onTime, int offTime);
    static void orvoYalme1(ByteBuffer* buffer, DrawerChannel channel, int onTime, int offTime);
};

}  // namespace PrinterCommandBuilder::Drawer
