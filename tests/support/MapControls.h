#pragma once
// The control store of the tests: StoredControls whose refusals fail the test, plus UTF-8 helpers.
#include <gtest/gtest.h>

#include "protocol/Cp1251.h"
#include "support/StoredControls.h"

namespace test {

class MapControls : public StoredControls {
  public:
    void setUtf8(std::string_view control, std::string_view utf8) {
        auto cp = protocol::toCp1251(utf8);
        ASSERT_TRUE(cp) << "not representable in cp1251: " << utf8;
        setText(control, *cp);
    }
    std::string utf8(std::string_view control) const {
        return protocol::fromCp1251(text(control).value_or("")).value_or("<not cp1251>");
    }

  protected:
    void refuse(const std::string& what) const override { ADD_FAILURE() << what; }
};

}  // namespace test
