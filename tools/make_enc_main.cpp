// make-enc: builds a valid update file (".enc") from any binary payload.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/EncFile.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(
            stderr, "make-enc PAYLOAD OUTPUT.enc [RECORD_PAYLOAD_BYTES (1..1040, default 1040)]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "make-enc: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::vector<std::uint8_t> payload{std::istreambuf_iterator<char>(in),
                                            std::istreambuf_iterator<char>()};
    const std::size_t recordPayload =
        argc == 4 ? std::strtoul(argv[3], nullptr, 10) : sim::kMaxRecordPayload;
    if (recordPayload == 0 || recordPayload > sim::kMaxRecordPayload) {
        std::fprintf(stderr, "make-enc: a record carries 1 to 1040 payload bytes\n");
        return 2;
    }
    const std::vector<std::uint8_t> image = sim::makeImage(payload, recordPayload);
    if (image.size() > 262144) {
        std::fprintf(stderr,
                     "make-enc: the image (%zu bytes) would not fit the configurator's 262144\n",
                     image.size());
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << sim::hexText(image);
    if (!out.flush()) {
        std::fprintf(stderr, "make-enc: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
