// Update files made by make-enc's library: records, CRCs and text the configurator reads back.
#include "tools/EncFile.h"

#include <gtest/gtest.h>

#include <memory>

#include "update/UpdateFile.h"

TEST(EncFile, TheCheckStringBecomesOneRecordWithItsCatalogueCrc) {
    const std::string nine = "123456789";
    const std::vector<std::uint8_t> image = sim::makeImage({nine.begin(), nine.end()});
    EXPECT_EQ(sim::hexText(image), "00 0B 31 32 33 34 35 36 37 38 39 FE E8\r\n");
    EXPECT_TRUE(sim::makeImage({}).empty());
}

TEST(EncFile, PayloadsAreSplitInto1040ByteRecordsThatPassTheCheckAndReadBack) {
    std::vector<std::uint8_t> payload(2081);
    for (std::size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<std::uint8_t>(i ^ (i >> 3));
    const std::vector<std::uint8_t> image = sim::makeImage(payload);
    ASSERT_EQ(image.size(), 2081u + 3 * 4);
    EXPECT_EQ(image[0], 0x04);
    EXPECT_EQ(image[1], 0x12);  // L = 1042
    EXPECT_EQ(image[2088], 0x00);
    EXPECT_EQ(image[2089], 0x03);  // the last record: one byte and its CRC

    auto loaded = std::make_unique<update::FirmwareImage>();
    ASSERT_EQ(update::readHexText(sim::hexText(image), *loaded), update::ReadStatus::Ok);
    ASSERT_EQ(loaded->ImageLength, image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.end(), loaded->ImageBuffer.begin()));
    EXPECT_TRUE(update::checkRecords(*loaded).ok());

    EXPECT_EQ(sim::makeImage(payload, 16).size(), 2081u + 131 * 4);
}
