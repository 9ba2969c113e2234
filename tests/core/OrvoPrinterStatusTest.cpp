#include <gtest/gtest.h>

#include "prelix10/core/Log.hpp"
#include "prelix10/core/OrvoPrinterStatus.hpp"

using namespace Prelix10;

TEST(OrvoPrinterStatus, FreshBuilderReportsAnErrorAndAnEmptyDetail) {
    OrvoPrinterStatus status{OrvoPrinterStatus::Builder()};
    EXPECT_TRUE(status.hasError());
    EXPECT_FALSE(status.coverOpen());
    EXPECT_FALSE(status.drawerOpenCloseSignal());
    EXPECT_FALSE(status.paperEmpty());
    EXPECT_FALSE(status.paperNearEmpty());
    ASSERT_TRUE(status.detailInternal());
    EXPECT_EQ(status.detail().get(), status.detailInternal().get());

    auto all = status.detailInternal()->getAllProperties();
    EXPECT_EQ(all.size(), 38u);
    for (const auto& [key, value] : all) EXPECT_TRUE(isNull(value)) << key;
    EXPECT_EQ(status.reserved().size(), 38u);
    EXPECT_TRUE(status.reserved().count("externalDevice34Ready"));
    EXPECT_FALSE(status.detail()->nullableCutterError());
}

TEST(OrvoPrinterStatus, ParserCallingOrderAndWrappers) {
    OrvoPrinterStatus::Builder builder;
    OrvoPrinterStatusDetailInternal::Builder detail;
    detail.cutterError = false;
    detail.detectedPaperWidth = 80;
    detail.drawer2OpenedMethod = DrawerOpenedMethod::bitSet;
    detail.etbCounter = 7;
    builder.hasError = false;
    builder.paperNearEmpty = true;
    builder.detailInternal = std::make_shared<const OrvoPrinterStatusDetailInternal>(detail);
    auto status = std::make_shared<const OrvoPrinterStatus>(builder);
    builder.coverOpen = true;  // does not reach the status
    EXPECT_FALSE(status->coverOpen());
    EXPECT_FALSE(status->hasError());
    EXPECT_TRUE(status->paperNearEmpty());

    // A false item is a wrapper holding false, never null.
    auto cutter = status->detail()->nullableCutterError();
    ASSERT_TRUE(cutter);
    EXPECT_FALSE(cutter->value);
    EXPECT_NE(cutter.get(), status->detail()->nullableCutterError().get());  // fresh per read
    ASSERT_TRUE(status->detail()->nullableDetectedPaperWidth());
    EXPECT_EQ(status->detail()->nullableDetectedPaperWidth()->value, 80);
    EXPECT_EQ(status->detail()->nullableDrawer2OpenedMethod()->value, DrawerOpenedMethod::bitSet);
    EXPECT_FALSE(status->detail()->nullableDrawer1OpenedMethod());

    auto all = status->reserved();
    EXPECT_EQ(std::get<std::shared_ptr<NullableInt>>(all.at("etbCounter"))->value, 7);
    EXPECT_FALSE(std::get<std::shared_ptr<NullableBool>>(all.at("cutterError"))->value);
    EXPECT_TRUE(isNull(all.at("version")));

    // Amending an earlier status keeps its detail object.
    OrvoPrinterStatus again{OrvoPrinterStatus::Builder(*status)};
    EXPECT_EQ(again.detailInternal().get(), status->detailInternal().get());
    EXPECT_EQ(again.hasError(), status->hasError());
    EXPECT_EQ(again.paperNearEmpty(), status->paperNearEmpty());
    OrvoPrinterStatusDetailInternal::Builder amended(*status->detailInternal());
    EXPECT_EQ(amended.etbCounter, 7);
    EXPECT_EQ(amended.detectedPaperWidth, 80);
}

TEST(OrvoPrinterStatus, Description) {
    OrvoPrinterStatusDetailInternal::Builder detail;
    detail.version = 2;
    detail.printHeadOverTemperature = true;
    detail.drawer1OpenedMethod = DrawerOpenedMethod::bitClear;
    OrvoPrinterStatus::Builder builder;
    builder.detailInternal = std::make_shared<const OrvoPrinterStatusDetailInternal>(detail);
    OrvoPrinterStatus status(builder);
    const std::string text = status.description();
    EXPECT_EQ(text.rfind("hasError : true, coverOpen : false, drawerOpenCloseSignal : false, paperEmpty : false, "
                         "paperNearEmpty : false, detailInternal : version : Optional(2), "
                         "printHeadOverTemperature : Optional(true), unrecoverableError : nil, ",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("drawer1OpenedMethod : Optional(0), drawer1OpenCloseSignal : nil"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 27), "externalDevice34Ready : nil");
}

TEST(OrvoPrinterStatus, TravelsWithAnUnprintableError) {
    auto status = std::make_shared<const OrvoPrinterStatus>(OrvoPrinterStatus::Builder());
    Prelix10Error error(Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::deviceHasError,
                        Prelix10ErrorCode::deviceHasError, status);
    auto record = error.platformRecord();
    ASSERT_TRUE(record.userInfo.count(kErrorStatusKey));
    EXPECT_EQ(std::get<std::shared_ptr<const OrvoPrinterStatus>>(record.userInfo.at(kErrorStatusKey)), status);
}
