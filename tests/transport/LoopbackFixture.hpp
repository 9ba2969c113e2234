#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "support/Hex.hpp"
#include "support/VirtualPrinterEngine.hpp"
#include "support/VirtualPrinterServer.hpp"
#include "prelix10/transport/NetworkPort.hpp"

namespace Prelix10::Testing {

// A virtual printer on ephemeral loopback ports and TCP ports that reach it with a preset network record.
class LoopbackFixture : public ::testing::Test {
protected:
    void SetUp() override {
        NetworkPortSettings::setAvailabilityCheck([] { return true; });
        engine = std::make_unique<VirtualPrinterEngine>(config());
        server = std::make_unique<VirtualPrinterServer>(*engine);
    }
    void TearDown() override {
        server.reset();
        NetworkPortSettings::setAvailabilityCheck(nullptr);
        NetworkPortSettings::setNetworkCardLookup(nullptr);
    }
    virtual VirtualPrinterConfig config() { return {}; }

    NetworkCardRecord record(std::string name = "IFBD-HE07") {
        return NetworkCardRecord{"127.0.0.1", "00:11:62:AA:BB:CC", std::move(name)};
    }
    std::shared_ptr<TCPPort> dataPort() {
        auto port = std::make_shared<TCPPort>("127.0.0.1", server->dataPort());
        port->setNicInformation(record());
        return port;
    }

    // Waits (bounded) until the port holds at least count unread bytes.
    static bool waitForBytes(NetworkPort& port, int count, std::chrono::milliseconds limit = std::chrono::milliseconds(2000)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            if (port.bufferedByteCount() >= count) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

    std::unique_ptr<VirtualPrinterEngine> engine;
    std::unique_ptr<VirtualPrinterServer> server;
};

// Runs f and returns how long it took.
template <typename F>
std::chrono::milliseconds timed(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

// Expects f to raise a Prelix10Error with this message and kind.
#define EXPECT_PRELIX10_ERROR(statement, expectedKind, expectedMessage)                  \
    do {                                                                                 \
        try {                                                                            \
            statement;                                                                   \
            ADD_FAILURE() << "no error raised by " #statement;                           \
        } catch (const ::Prelix10::Prelix10Error& error__) {                            \
            EXPECT_EQ(error__.kind(), expectedKind) << error__.description();            \
            EXPECT_EQ(error__.message(), expectedMessage) << error__.description();      \
        }                                                                                \
    } while (0)

}  // namespace Prelix10::Testing
