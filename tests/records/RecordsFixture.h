#pragma once
// A temporary folder for a records file, and an event filled as a write of one unit would be.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "records/NewEvent.h"

namespace records_test {

class TempFolder {
  public:
    TempFolder() {
        char name[] = "/tmp/vigil-records-XXXXXX";
        path_ = ::mkdtemp(name);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

inline records::Event sampleEvent(const std::string& idcod, const std::string& at,
                                  records::Kind kind = records::Kind::Write) {
    records::Event e = records::newEvent(kind, "vigil", "vigil write --port COM3 unit.abt");
    e.atUtc = at;
    e.port = "COM3";
    e.adapter = "ttyUSB0";
    records::setUnit(e, idcod);
    e.ownNumber = "+79000000009";
    e.values = {
        {"Phone1", "+79001112233"}, {"Apn", "in\tter\nnet\\x"}, {"ModulePhone", "+79000000009"}};
    e.sent = {{"Phone1", "+79001112233"}};
    e.differences = {{"Apn", "internet", "in\tter\nnet\\x"}};
    return e;
}

}  // namespace records_test
