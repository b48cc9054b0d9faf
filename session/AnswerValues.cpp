#include "session/AnswerValues.h"

#include <cstdint>

#include "protocol/AssignmentRecorder.h"
#include "protocol/ResponseParser.h"
#include "session/AnswerGathering.h"

namespace session {

std::set<const protocol::Parameter*> takeAnswer(protocol::ControlAccess& values,
                                                const protocol::ComposedRequest& request,
                                                std::string_view answer) {
    answer = answer.substr(0, kAnswerCapacity);
    protocol::applyEmptying(values, request);
    protocol::AssignmentRecorder recorder(values);
    protocol::parseReception(reinterpret_cast<const std::uint8_t*>(answer.data()),
                             static_cast<std::uint16_t>(answer.size()), recorder);
    return recorder.assigned();
}

}  // namespace session
