#include <gtest/gtest.h>

#include "prelix10/core/Log.hpp"
#include "prelix10/core/Prelix10Error.hpp"

using namespace Prelix10;

TEST(Prelix10Error, ThrowerMapsTheTriple) {
    struct Case {
        int typeId, code, messageId;
        Prelix10ErrorKind kind;
        int platform;
        Prelix10ErrorCode detail;
        const char* message;
    } cases[] = {
        {9, 0, 2, Prelix10ErrorKind::unsupportedModel, 9, Prelix10ErrorCode::none, "Not supported model."},
        {11, 4000, 4000, Prelix10ErrorKind::authentication, 11, Prelix10ErrorCode::invalidPassword, "Invalid password."},
        {13, 2002, 1004, Prelix10ErrorKind::unknown, 0, Prelix10ErrorCode::none, "Unknown Error."},
        {0, 7000, 7001, Prelix10ErrorKind::unknown, 0, Prelix10ErrorCode::invalidTemplate,
         "Number format specifier is out of specification."},
        {-1, 5000, 5000, Prelix10ErrorKind::unknown, 0, Prelix10ErrorCode::jsonFormatError, "JSON format error."},
        {1, 7000, 7000, Prelix10ErrorKind::argument, 1, Prelix10ErrorCode::invalidTemplate,
         "Field data is Invalid JSON format."},
    };
    for (const auto& c : cases) {
        try {
            Prelix10ErrorThrower::throwError(c.typeId, c.code, c.messageId);
            FAIL() << "no throw";
        } catch (const Prelix10Error& e) {
            EXPECT_EQ(e.kind(), c.kind) << c.typeId;
            EXPECT_EQ(e.platformCode(), c.platform) << c.typeId;
            EXPECT_EQ(e.errorCode(), c.detail) << c.code;
            EXPECT_EQ(e.message(), c.message) << c.messageId;
        }
    }
}

TEST(Prelix10Error, DescriptionAndPlatformFace) {
    Prelix10Error e(Prelix10ErrorKind::notFound, Prelix10ErrorMessage::deviceNotFound);
    EXPECT_EQ(e.description(), "notFound(message: \"Device not found.\", errorCode: none)");
    auto record = e.platformRecord();
    EXPECT_EQ(record.domain, "Prelix10.PRELIX10Error");
    EXPECT_EQ(record.code, 7);
    ASSERT_EQ(record.userInfo.size(), 1u);
    EXPECT_EQ(std::get<int>(record.userInfo.at("PRELIX10ErrorDetailErrorCodeKey")), 0);

    Prelix10Error unprintable(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::deviceHasError,
                              Prelix10ErrorCode::deviceHasError);
    EXPECT_EQ(unprintable.platformRecord().userInfo.size(), 1u);
    EXPECT_EQ(unprintable.platformCode(), 8);
}

TEST(Prelix10Error, EnumerationsRejectUnknownRawValues) {
    EXPECT_FALSE(ErrorCodes::fromRawValue(2002));
    EXPECT_EQ(ErrorCodes::allCases().size(), 21u);
    EXPECT_EQ(ErrorMessages::allCases().size(), 43u);
    for (int id : {1004, 1014, 1015, 1016, 7, -1}) EXPECT_FALSE(ErrorMessages::fromRawValue(id)) << id;
    EXPECT_EQ(ErrorCodes::description(Prelix10ErrorCode::printingTimeout), "printingTimeout");
    EXPECT_EQ(ErrorMessages::description(Prelix10ErrorMessage::printTimedOut), "Print timed out.");
}

namespace Sample {
struct X {};
}  // namespace Sample

TEST(Prelix10Error, UnexpectedStateMessage) {
    Sample::X x;
    EXPECT_EQ(makeUnexpectedStateMessage(x, 8), "Unexpected state at line 8 of X.");
}

TEST(Prelix10Error, DetailBridgesAutoSwitchErrors) {
    Prelix10ErrorDetail detail;
    EXPECT_FALSE(detail.autoSwitchInterfaceOpenErrors());
    detail.internalAutoSwitchInterfaceOpenErrors.emplace();
    (*detail.internalAutoSwitchInterfaceOpenErrors)[4] =
        Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::openFailed);
    (*detail.internalAutoSwitchInterfaceOpenErrors)[2] = std::nullopt;
    auto bridged = detail.autoSwitchInterfaceOpenErrors();
    ASSERT_TRUE(bridged);
    EXPECT_EQ(bridged->at(4)->code, 3);
    EXPECT_FALSE(bridged->at(2));
}

TEST(LogService, DescribeRules) {
    EXPECT_EQ(Util::describe(std::vector<std::uint8_t>{0x0A, 0xFF}), "[0A, FF]");
    EXPECT_EQ(Util::describeParameters({}), "");
    EXPECT_EQ(Util::describeParameters({"a", "1"}), "Parameter - a, 1");
    Log log(reinterpret_cast<const void*>(0x1234), "Cls", "m()", 3);
    auto line = log.formatLine("hi");
    EXPECT_EQ(line.rfind("Thread: ", 0), 0u);
    EXPECT_NE(line.find(", [0x0000000000001234], Cls#m() hi"), std::string::npos);
}
