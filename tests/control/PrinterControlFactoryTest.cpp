// Which printer control the factory makes for a port, and with which flags.
#include <gtest/gtest.h>

#include "prelix10/control/OrvoPrinterControl.hpp"
#include "prelix10/control/PrinterControlFactory.hpp"
#include "prelix10/transport/OrvoLANPrinterPort.hpp"

using namespace Prelix10;

namespace {

std::shared_ptr<PrinterPort> portWith(OrvoPrinterEmulation emulation) {
    auto port = std::make_shared<OrvoLANPrinterPort>(std::make_shared<TCPPort>("127.0.0.1", 9100), false);
    port->setEmulation(emulation);
    return port;
}

}  // namespace

TEST(PrinterControlFactory, TheMakersEmulationsGetTheirControlWithTheModelsFlags) {
    const struct {
        OrvoPrinterEmulation emulation;
        PrinterControlFeatures features;
    } cases[] = {
        {OrvoPrinterEmulation::kestrin, {false, true, false}},
        {OrvoPrinterEmulation::orvoLine, {true, false, true}},
        {OrvoPrinterEmulation::orvoDot, {}},  // a model without a record: every flag false
        {OrvoPrinterEmulation::orvoGraphic, {true, true, true}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.emulation));
        const auto port = portWith(c.emulation);
        const auto control =
            std::dynamic_pointer_cast<OrvoPrinterControl>(PrinterControlFactory::create(port, c.features));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(&control->port(), port.get());
        EXPECT_EQ(control->isSpoolPrintSupported(), c.features.supportSpoolPrint);
        EXPECT_EQ(control->isOrvoConfigSupported(), c.features.supportOrvoConfig);
        EXPECT_EQ(control->isGetCommandAvailableSupported(),
                  c.features.supportGetCommandAvailableInformation);
    }
}

TEST(PrinterControlFactory, AnUnknownEmulationIsTheUnexpectedStateError) {
    try {
        PrinterControlFactory::create(portWith(OrvoPrinterEmulation::unknown), {true, true, true});
        ADD_FAILURE() << "a control was made";
    } catch (const Prelix10Error& error) {
        EXPECT_EQ(error.kind(), Prelix10ErrorKind::unknown);
        EXPECT_EQ(error.description().find("Unexpected state at line 32 of PrinterControlFactory.") !=
                      std::string::npos,
                  true)
            << error.description();
    }
}
