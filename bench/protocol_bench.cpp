// The parse of one full reception (every answer key, 2 KiB, keys in the worst order: the
// terminal's last items are the ones searched first), against one plain substring search per key
// over the same bytes; and a save (.abt + backup + export, each fsync'd and renamed) against
// writing the same bytes without temporary files or fsync.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "files/SaveFiles.h"
#include "protocol/ParameterTable.h"
#include "protocol/ResponseParser.h"
#include "support/StoredControls.h"

namespace {

using Clock = std::chrono::steady_clock;

template <typename F>
double medianMicros(int runs, F&& f) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        auto start = Clock::now();
        f();
        t.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// Every key once, in reverse table order, texts padded so the reception is about 2 KiB.
std::string fullAnswer() {
    std::string answer;
    for (auto p = protocol::kParameters.rbegin(); p != protocol::kParameters.rend(); ++p) {
        std::string value = p->form == protocol::ValueForm::Text ? std::string(24, '7') : "1";
        answer += std::string(p->answerKey) + value + ":";
    }
    answer.resize(2048, ' ');
    return answer;
}

void row(const char* figure, double value, const char* unit, const char* baseline, double base,
         const char* target) {
    std::printf("ROW\t%s\t%.1f\t%s\t%s\t%.1f\t%s\n", figure, value, unit, baseline, base, target);
}

}  // namespace

int main() {
    const std::string answer = fullAnswer();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(answer.data());
    const auto count = static_cast<std::uint16_t>(answer.size());
    test::StoredControls controls;
    double parse = medianMicros(501, [&] { protocol::parseReception(bytes, count, controls); });
    std::size_t sink = 0;
    double plain = medianMicros(501, [&] {
        for (const protocol::Parameter& p : protocol::kParameters) sink += answer.find(p.answerKey);
    });
    row("parse of a full 2 KiB reception", parse, "us", "string_view::find per key", plain,
        "<= 1.5x baseline");

    char folder[] = "/tmp/vigil-bench-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    std::filesystem::current_path(folder);
    protocol::TransmitBuffer buffer;
    double save = medianMicros(21, [&] { files::saveConfiguration("bench", controls, buffer); });
    double raw = medianMicros(21, [&] {
        for (const char* name : {"raw.abt", "raw.BAK", "raw.xml"}) {
            int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0 || ::write(fd, answer.data(), answer.size()) < 0) return;
            ::close(fd);
        }
    });
    std::filesystem::current_path("/");
    std::filesystem::remove_all(folder);
    row("save: .abt, backup and export, durable", save / 1000, "ms", "three plain writes, no fsync",
        raw / 1000, "< 100 ms");
    return sink == 42 ? 1 : 0;
}
