#include "session/DisconnectWatch.h"

#include "session/BatchPlan.h"

namespace session {

bool DisconnectWatch::answered(const std::optional<std::string>& idCodText) {
    silentReads_ = 0;
    return idCodText && !stillConnected(idCodText_, *idCodText);
}

}  // namespace session
