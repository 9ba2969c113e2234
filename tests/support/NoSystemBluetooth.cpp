// Linked into every test binary (the linker is told to keep this symbol): the process starts with no
// Bluetooth LE stack chosen, so that no test can reach the machine's system bus through the default choice.
// A test that needs a stack installs the simulated one, or BlueZ on a private bus it started itself.
#include "prelix10/platform/BleCentral.hpp"

extern "C" {
extern int prelix10_tests_choose_no_bluetooth;
int prelix10_tests_choose_no_bluetooth = [] {
    Prelix10::BleBackend::install(nullptr);
    return 1;
}();
}
