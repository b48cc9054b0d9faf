#include "update/UpdateFile.h"

#include <cstdio>

#include "platform/Catalogue.h"

namespace update {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

HexTextReader::HexTextReader(FirmwareImage& image) : image_(image) {
    image_.ImageLength = 0;
}

void HexTextReader::put(std::uint8_t value) {
    if (image_.ImageLength >= kImageBufferSize) {
        overflowed_ = true;
        ended_ = true;
        return;
    }
    image_.ImageBuffer[image_.ImageLength++] = value;
}

bool HexTextReader::feed(const char* text, std::size_t length) {
    for (std::size_t i = 0; i < length && !ended_; ++i) {
        const int digit = hexValue(text[i]);
        if (digit >= 0) {
            if (pendingDigit_ < 0) {
                pendingDigit_ = digit;
            } else {
                put(static_cast<std::uint8_t>(pendingDigit_ * 16 + digit));
                pendingDigit_ = -1;
            }
            continue;
        }
        finish();
        if (!isSpace(text[i])) ended_ = true;
    }
    return !ended_;
}

void HexTextReader::finish() {
    if (pendingDigit_ >= 0 && !ended_) put(static_cast<std::uint8_t>(pendingDigit_));
    pendingDigit_ = -1;
}

ReadStatus readHexText(std::string_view text, FirmwareImage& image) {
    HexTextReader reader(image);
    reader.feed(text.data(), text.size());
    reader.finish();
    return reader.overflowed() ? ReadStatus::TooLarge : ReadStatus::Ok;
}

ReadStatus readHexText(std::istream& in, FirmwareImage& image) {
    HexTextReader reader(image);
    char chunk[8192];
    while (in) {
        in.read(chunk, sizeof chunk);
        if (!reader.feed(chunk, static_cast<std::size_t>(in.gcount()))) break;
    }
    reader.finish();
    return reader.overflowed() ? ReadStatus::TooLarge : ReadStatus::Ok;
}

RecordCheck checkRecords(const std::uint8_t* image, std::uint32_t length, CrcCheck crc) {
    std::uint32_t pos = 0;
    while (pos < length) {
        if (length - pos < kLengthFieldSize) return {RecordErrorKind::Format, pos};
        const std::uint32_t L = image[pos] * 256u + image[pos + 1];
        // A record must carry at least its CRC-bearing body and end inside the loaded bytes.
        if (L > kMaxRecordLength || L == 0 || L > length - pos - kLengthFieldSize)
            return {RecordErrorKind::Format, pos};
        const std::uint16_t r = crc16Register(image + pos + kLengthFieldSize, L);
        pos += kLengthFieldSize + L;
        if (crc == CrcCheck::Compare && r != 0) return {RecordErrorKind::Crc, pos};
    }
    return {};
}

std::string errorCodeText(std::uint32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "%05X", static_cast<unsigned>(code));
    return text;
}

std::string formatErrorText(std::uint32_t code) {
    return platform::translated("UpdateFile", "Ошибка формата файла обновления\r\n (код ") +
           errorCodeText(code) +
           platform::translated("UpdateFile", ").\r\nОбновление прервано !!!");
}

std::string crcErrorText(std::uint32_t code) {
    return platform::translated("UpdateFile", "В файле обновления ошибка CRC \r\n (код ") +
           errorCodeText(code) +
           platform::translated("UpdateFile", ").\r\nОбновление прервано !!!");
}

std::string recordErrorText(const RecordCheck& check) {
    switch (check.kind) {
        case RecordErrorKind::Format:
            return formatErrorText(check.code);
        case RecordErrorKind::Crc:
            return crcErrorText(check.code);
        case RecordErrorKind::None:
            break;
    }
    return {};
}

std::string tooLargeText() {
    return platform::translated("UpdateFile",
                                "Файл обновления больше 262144 байт.\r\nОбновление прервано !!!");
}

}  // namespace update
