// Linked into every test binary (the linker is told to keep this symbol): the process starts with no
// Bluetooth LE stack chosen, no accessory backend named by the environment, and a system bus address that
// leads nowhere, so that no test can reach the machine's system bus or its devices through a default choice.
// A test that needs a stack installs the simulated one, or BlueZ on a private bus it started itself.
#include <cstdlib>

#include "prelix10/platform/BleCentral.hpp"

extern "C" {
extern int prelix10_tests_choose_no_bluetooth;
int prelix10_tests_choose_no_bluetooth = [] {
    ::unsetenv("PRELIX10_ACCESSORY_BACKEND");
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/prelix10-tests/system_bus_socket", 1);
    Prelix10::BleBackend::install(nullptr);
    return 1;
}();
}
