#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

// A LAN printer's network-card record, as its discovery reply describes it. Every field is optional.
class OrvoNICInformation {
public:
    std::optional<std::string> responseVersion;
    std::optional<std::string> name;
    std::optional<std::string> firmwareVersionMain;
    std::optional<std::string> firmwareVersionBoot;
    std::optional<std::string> pldRevision;
    std::optional<int> ipVersion;
    std::optional<std::string> macAddress;
    std::optional<std::string> ipAddress;
    std::optional<std::string> ipAddressProtocol;
    std::optional<std::string> subnetMask;
    std::optional<std::string> gateway;
    std::optional<bool> configPrint;
    std::optional<std::string> configIPAddress;
    std::optional<std::string> configSubnetMask;
    std::optional<std::string> configGateway;
    std::optional<bool> dhcp;
    std::optional<bool> rarp;
    std::optional<bool> multiSession;
    std::optional<std::string> deviceManufacturer;
    std::optional<std::string> deviceCommandSet;
    std::optional<std::string> deviceModel;
    std::optional<std::string> deviceClass;
    std::optional<std::string> hostName;
    std::optional<int> usedPort;
    std::optional<std::string> usedIPAddress;
    std::optional<ByteBlock> deviceStatus;
    std::optional<std::string> nameDetail;
    std::optional<std::string> productSerialNumber;
    std::optional<std::string> uniqueId;

    // Calls visit(name, field) for every field, in declaration order.
    template <typename Visitor>
    void forEachField(Visitor&& visit) const {
        visit("responseVersion", responseVersion);
        visit("name", name);
        visit("firmwareVersionMain", firmwareVersionMain);
        visit("firmwareVersionBoot", firmwareVersionBoot);
        visit("pldRevision", pldRevision);
        visit("ipVersion", ipVersion);
        visit("macAddress", macAddress);
        visit("ipAddress", ipAddress);
        visit("ipAddressProtocol", ipAddressProtocol);
        visit("subnetMask", subnetMask);
        visit("gateway", gateway);
        visit("configPrint", configPrint);
        visit("configIPAddress", configIPAddress);
        visit("configSubnetMask", configSubnetMask);
        visit("configGateway", configGateway);
        visit("dhcp", dhcp);
        visit("rarp", rarp);
        visit("multiSession", multiSession);
        visit("deviceManufacturer", deviceManufacturer);
        visit("deviceCommandSet", deviceCommandSet);
        visit("deviceModel", deviceModel);
        visit("deviceClass", deviceClass);
        visit("hostName", hostName);
        visit("usedPort", usedPort);
        visit("usedIPAddress", usedIPAddress);
        visit("deviceStatus", deviceStatus);
        visit("nameDetail", nameDetail);
        visit("productSerialNumber", productSerialNumber);
        visit("uniqueId", uniqueId);
    }

    // "label : value" for every field, joined by ", ".
    std::string description() const;
};

// The discovery request: 16 bytes of magic, 8 of version, then 00 1C 64 31.
class DiscoveryCommand {
public:
    static ByteBlock makeRequest(bool isVersion4);
};

// Recognises one discovery reply in a received block and decodes it into a network-card record. The reply
// is untrusted: every section, field and length is checked against the frame, and a reply that does not
// hold together is invalid.
class DiscoveryParser final : public CommandParser {
public:
    static constexpr std::size_t kMinimumReplySize = 302;
    static constexpr std::size_t kFrameHeaderSize = 34;

    ByteBlock requestCommands() const override { return DiscoveryCommand::makeRequest(false); }
    CommandParserResult parse(ByteView data) override;

    const std::optional<OrvoNICInformation>& nicInformation() const { return nicInformation_; }

private:
    std::optional<OrvoNICInformation> nicInformation_;
};

}  // namespace Prelix10
