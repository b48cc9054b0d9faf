#include "session/UnitIdentity.h"

namespace session {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
}  // namespace

std::string unitIdentity(std::string_view idCodText) {
    std::size_t end = 0;
    while (end < idCodText.size() && !isBlank(idCodText[end])) ++end;
    return std::string(idCodText.substr(0, end));
}

bool sameUnit(std::string_view idCodTextA, std::string_view idCodTextB) {
    const std::string a = unitIdentity(idCodTextA);
    return !a.empty() && a == unitIdentity(idCodTextB);
}

}  // namespace session
