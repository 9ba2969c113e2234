#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/drawer/DrawerTypes.hpp"

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
