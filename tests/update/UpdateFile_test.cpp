// The update file: hex-text reading, the record check and its messages, the grid texts.
#include "update/UpdateFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace update;

namespace {

using Bytes = std::vector<std::uint8_t>;

// A record as it stands in the image: big-endian L, the payload, its CRC high byte first.
Bytes record(const Bytes& payload) {
    Bytes r;
    const std::size_t L = payload.size() + 2;
    r.push_back(static_cast<std::uint8_t>(L >> 8));
    r.push_back(static_cast<std::uint8_t>(L));
    r.insert(r.end(), payload.begin(), payload.end());
    const std::uint16_t crc = crc16Umts(payload.data(), payload.size());
    r.push_back(static_cast<std::uint8_t>(crc >> 8));
    r.push_back(static_cast<std::uint8_t>(crc));
    return r;
}

Bytes filled(std::size_t n, std::uint8_t seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 7);
    return b;
}

RecordCheck check(const Bytes& image) {
    return checkRecords(image.data(), static_cast<std::uint32_t>(image.size()));
}

std::unique_ptr<FirmwareImage> read(std::string_view text, ReadStatus* status = nullptr) {
    auto image = std::make_unique<FirmwareImage>();
    const ReadStatus s = readHexText(text, *image);
    if (status) *status = s;
    return image;
}

Bytes loaded(const FirmwareImage& image) {
    return Bytes(image.ImageBuffer.begin(), image.ImageBuffer.begin() + image.ImageLength);
}

}  // namespace

TEST(Crc16, MatchesTheCatalogueCheckValueAndClosesTheRegister) {
    const std::string nine = "123456789";
    const auto* p = reinterpret_cast<const std::uint8_t*>(nine.data());
    EXPECT_EQ(crc16Umts(p, nine.size()), 0xFEE8);
    // The augmented register over the check string followed by its CRC ends at 0.
    Bytes body(nine.begin(), nine.end());
    body.push_back(0xFE);
    body.push_back(0xE8);
    EXPECT_EQ(crc16Register(body.data(), body.size()), 0);
    // Data bits enter at bit 0, most significant first; a bit leaving bit 15 folds 0x8005 in.
    EXPECT_EQ(Crc16Step(0x0000, 0x80), 0x0080);
    EXPECT_EQ(Crc16Step(0x0100, 0x00), 0x8005);
    EXPECT_EQ(Crc16Step(0x0100, 0x01), 0x8004);
}

TEST(HexText, SeparatorsAreFreeRunsGoTwoDigitsAtATimeAndAnyOtherCharacterEndsTheText) {
    const Bytes five{0x00, 0x0B, 0xAB, 0xcd, 0xEF};
    const std::pair<const char*, Bytes> cases[] = {{"00\r\n0B\r\nAB\r\nCD\r\nEF\r\n", five},
                                                   {"00 0B ab Cd eF", five},
                                                   {"000BABCDEF", five},
                                                   {"\t 00\t0b  \n\nAB CD\tEF", five},
                                                   {"ABC", {0xAB, 0x0C}},
                                                   {"1 2 34", {0x01, 0x02, 0x34}},
                                                   {"12 3G 45", {0x12, 0x03}},
                                                   {"12;34", {0x12}},
                                                   {"", {}},
                                                   {" \r\n\t", {}},
                                                   {"x0102", {}}};
    for (const auto& [text, bytes] : cases) EXPECT_EQ(loaded(*read(text)), bytes) << text;
}

TEST(HexText, PiecesSplitAnywhereReadAlike) {
    const std::string text = "0A1 B2\r\nC3D4E5 6";
    const Bytes whole = loaded(*read(text));
    EXPECT_EQ(whole, (Bytes{0x0A, 0x01, 0xB2, 0xC3, 0xD4, 0xE5, 0x06}));
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        FirmwareImage image;
        HexTextReader reader(image);
        reader.feed(text.data(), cut);
        reader.feed(text.data() + cut, text.size() - cut);
        reader.finish();
        EXPECT_EQ(loaded(image), whole) << "cut at " << cut;
    }
    FirmwareImage image;
    std::istringstream in(text);
    EXPECT_EQ(readHexText(in, image), ReadStatus::Ok);
    EXPECT_EQ(loaded(image), whole);
}

TEST(HexText, AFullBufferFitsAndOneNumberMoreIsRefusedWithoutWritingPastIt) {
    std::string full;
    full.reserve(kImageBufferSize * 2 + 2);
    for (std::size_t i = 0; i < kImageBufferSize; ++i) full += "5A";
    ReadStatus status{};
    EXPECT_EQ(read(full, &status)->ImageLength, kImageBufferSize);
    EXPECT_EQ(status, ReadStatus::Ok);

    auto image = read(full + "7", &status);
    EXPECT_EQ(status, ReadStatus::TooLarge);
    EXPECT_EQ(image->ImageLength, kImageBufferSize);
    EXPECT_EQ(image->ImageBuffer.back(), 0x5A);
    EXPECT_NE(tooLargeText().find("Обновление прервано !!!"), std::string::npos);
}

TEST(RecordCheck, TheLengthLimitIs1042AndAnOverLongRecordReportsItsOwnOffset) {
    const Bytes longest = record(filled(1040, 3));
    ASSERT_EQ(longest.size(), 1044u);
    EXPECT_TRUE(check(longest).ok());

    Bytes image = longest;
    const Bytes tooLong = record(filled(1041, 5));
    image.insert(image.end(), tooLong.begin(), tooLong.end());
    const RecordCheck c = check(image);
    EXPECT_EQ(c.kind, RecordErrorKind::Format);
    EXPECT_EQ(c.code, 1044u);
    EXPECT_EQ(recordErrorText(c),
              "Ошибка формата файла обновления\r\n (код 00414).\r\nОбновление прервано !!!");
    EXPECT_EQ(formatErrorText(0),
              "Ошибка формата файла обновления\r\n (код 00000).\r\nОбновление прервано !!!");
}

TEST(RecordCheck, AnyFlippedBitFailsWithTheOffsetAfterItsRecord) {
    Bytes image = record(filled(20, 1));
    const Bytes second = record(filled(9, 9));
    image.insert(image.end(), second.begin(), second.end());
    ASSERT_TRUE(check(image).ok());
    for (std::size_t byte = 0; byte < image.size(); ++byte) {
        if (byte < 2 || byte == 24 || byte == 25) continue;  // length fields are not covered
        for (int bit = 0; bit < 8; ++bit) {
            Bytes bad = image;
            bad[byte] ^= static_cast<std::uint8_t>(1u << bit);
            const RecordCheck c = check(bad);
            EXPECT_EQ(c.kind, RecordErrorKind::Crc) << byte << ':' << bit;
            EXPECT_EQ(c.code, byte < 24 ? 24u : 37u) << byte << ':' << bit;
        }
    }
    Bytes bad = record(filled(1040, 3));
    bad[100] ^= 0x10;
    EXPECT_EQ(recordErrorText(check(bad)),
              "В файле обновления ошибка CRC \r\n (код 00414).\r\nОбновление прервано !!!");
}

TEST(RecordCheck, TheCheckStringRecordWrittenByHandPasses) {
    auto image = read("00 0B 31 32 33 34 35 36 37 38 39 FE E8");
    EXPECT_TRUE(checkRecords(*image).ok());
    image = read("00 0B 31 32 33 34 35 36 37 38 39 FE E9");
    EXPECT_EQ(checkRecords(*image).kind, RecordErrorKind::Crc);
    EXPECT_EQ(checkRecords(*image).code, 13u);
}

TEST(RecordCheck, EmptyRecordsAndRecordsPastTheLoadedBytesAreFormatErrors) {
    EXPECT_TRUE(check({}).ok());  // no numbers: nothing to check, BUpgrade is enabled

    const Bytes good = record(filled(4, 2));  // 8 bytes
    auto withTail = [&](Bytes tail) {
        Bytes image = good;
        image.insert(image.end(), tail.begin(), tail.end());
        return check(image);
    };
    for (const Bytes& tail : {Bytes{0x00, 0x00}, Bytes{0x00}, Bytes{0x00, 0x05, 0x01, 0x02}}) {
        const RecordCheck c = withTail(tail);
        EXPECT_EQ(c.kind, RecordErrorKind::Format);
        EXPECT_EQ(c.code, 8u);
    }
    EXPECT_EQ(errorCodeText(0x3FFFE), "3FFFE");
    EXPECT_EQ(errorCodeText(0x123456), "123456");
}

TEST(ImageGrid, RowsAddressesAndCells) {
    EXPECT_EQ(gridRowCount(8) * 10 + gridRowCount(9), 12);
    EXPECT_EQ(gridAddressText(2) + gridAddressText(32767) + gridByteText(0x0A), "000103FFF80A");
    EXPECT_EQ(gridCellOf(15).row * 10 + gridCellOf(15).column, 18);
}
