#include "session/BatchPlan.h"

#include "session/UnitIdentity.h"

namespace session {

const Unit* BatchPlan::nextFresh() const {
    for (const Unit& unit : units_)
        if (!log_.done(unit.label) && !log_.bound(unit.label) && !tried_.count(unit.label))
            return &unit;
    return nullptr;
}

const Unit* BatchPlan::asked() const {
    if (const Unit* fresh = nextFresh()) return fresh;
    for (const Unit& unit : units_)
        if (!log_.done(unit.label) && !tried_.count(unit.label)) return &unit;
    return nullptr;
}

const Unit* BatchPlan::byLabel(const std::string& label) const {
    for (const Unit& unit : units_)
        if (unit.label == label) return &unit;
    return nullptr;
}

TerminalVerdict BatchPlan::judge(const std::string& idCodText) const {
    using Kind = TerminalVerdict::Kind;
    if (unitIdentity(idCodText).empty()) return {Kind::Unidentified, nullptr, {}};
    if (const std::string* known = log_.unitOf(idCodText)) {
        if (log_.done(*known))
            // Written in part while it was swapped for the unit's terminal, which was done since.
            return {sameUnit(log_.idCodeOf(*known), idCodText) ? Kind::Done : Kind::StrayAttempt,
                    nullptr, *known};
        const Unit* unit = byLabel(*known);
        return {unit ? Kind::Retry : Kind::NotListed, unit, *known};
    }
    if (const Unit* fresh = nextFresh()) return {Kind::Fresh, fresh, {}};
    return {Kind::NoUnitLeft, nullptr, {}};
}

int BatchPlan::doneCount() const {
    int n = 0;
    for (const Unit& unit : units_) n += log_.done(unit.label);
    return n;
}

WrittenTerminal writtenTerminal(const BatchLog& log, const std::string& unit,
                                const std::string& idCodText,
                                const std::optional<std::string>& nowIdCodText, bool writeAnswered,
                                bool keptTerminalValues) {
    WrittenTerminal written{idCodText, idCodText, {}, {}};
    if (!nowIdCodText) {
        if (writeAnswered)
            written.notes.push_back(
                "после записи терминал не назвал себя: не подтверждено, какой терминал записан");
        return written;
    }
    const std::string& now = *nowIdCodText;
    if (sameUnit(now, idCodText)) return written;
    if (keptTerminalValues)  // the new one lost its own
        written.notes.push_back("значения, которых нет в шаблоне, взяты у терминала IDCOD=" +
                                idCodText + ": свои значения нового терминала заменены");
    const std::string* other = log.unitOf(now);
    if (other && *other != unit) {
        written.displaced = *other;
        written.notes.push_back("терминал заменён во время записи (теперь IDCOD=" + now + ")");
    } else {
        written.notes.push_back("терминал заменён во время записи (был IDCOD=" + idCodText + ")");
        written.idCodText = now;
    }
    written.connected = now;
    return written;
}

std::string WrittenTerminal::displacedNote(const std::string& unit) const {
    return "терминал заменён во время записи блока " + unit + ": может держать его значения";
}

bool stillConnected(std::string_view idCodText, std::string_view nowIdCodText) {
    return unitIdentity(idCodText).empty() ? nowIdCodText == idCodText
                                           : sameUnit(nowIdCodText, idCodText);
}

}  // namespace session
