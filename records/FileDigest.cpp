#include "records/FileDigest.h"

#include <openssl/evp.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace records {
namespace {

struct DigestContext {
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx{EVP_MD_CTX_new(), EVP_MD_CTX_free};
    bool ok = ctx && EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) == 1;
    void add(const char* data, std::size_t size) {
        ok = ok && EVP_DigestUpdate(ctx.get(), data, size) == 1;
    }
    std::optional<std::string> hex() {
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int length = 0;
        if (!ok || EVP_DigestFinal_ex(ctx.get(), digest, &length) != 1) return std::nullopt;
        static constexpr char kDigits[] = "0123456789abcdef";
        std::string out;
        for (unsigned int i = 0; i < length; ++i) {
            out += kDigits[digest[i] >> 4];
            out += kDigits[digest[i] & 0xF];
        }
        return out;
    }
};

}  // namespace

std::string sha256Hex(std::string_view bytes) {
    DigestContext digest;
    digest.add(bytes.data(), bytes.size());
    return digest.hex().value_or("");
}

std::optional<std::string> sha256OfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    DigestContext digest;
    char block[65536];
    while (in.read(block, sizeof block) || in.gcount() > 0)
        digest.add(block, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) return std::nullopt;
    return digest.hex();
}

UploadFacts updateFileFacts(const std::string& path, std::span<const std::uint8_t> image) {
    UploadFacts facts;
    facts.fileName = path;
    facts.sha256 = sha256OfFile(path).value_or("");
    std::error_code ec;
    facts.size = static_cast<std::int64_t>(std::filesystem::file_size(path, ec));
    if (ec) facts.size = 0;
    for (std::size_t at = 0; at + 2 <= image.size(); ++facts.records)
        at += 2 + (static_cast<std::size_t>(image[at]) << 8 | image[at + 1]);
    return facts;
}

}  // namespace records
