#pragma once
// What an answer gathered whole gives to a set of values: what its request carries is emptied
// first, as the windows' Read and Write buttons empty their controls, and the answer's items fill
// them again, so a value the answer lacks is left empty rather than taken for answered.
#include <set>
#include <string_view>

#include "protocol/ControlAccess.h"
#include "protocol/RequestBuilder.h"

namespace session {

// The parameters the answer set.
std::set<const protocol::Parameter*> takeAnswer(protocol::ControlAccess& values,
                                                const protocol::ComposedRequest& request,
                                                std::string_view answer);

}  // namespace session
