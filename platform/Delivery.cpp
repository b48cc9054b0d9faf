#include "platform/Delivery.h"

#include <memory>
#include <utility>
#include <vector>

namespace platform {
namespace {

thread_local int depth = 0;
thread_local std::vector<std::function<void()>> kept;
AfterDeliveryPoster poster;  // set at start-up, before worker threads exist

void runAll(std::vector<std::function<void()>>& calls) {
    for (auto& call : calls) call();
}

}  // namespace

DeliveryScope::DeliveryScope() {
    ++depth;
}

DeliveryScope::~DeliveryScope() {
    if (--depth > 0 || kept.empty()) return;
    auto calls = std::make_shared<std::vector<std::function<void()>>>(std::exchange(kept, {}));
    if (poster)
        poster([calls] { runAll(*calls); });
    else
        runAll(*calls);
}

bool DeliveryScope::active() {
    return depth > 0;
}

void afterDelivery(std::function<void()> call) {
    if (depth == 0) {
        call();
        return;
    }
    kept.push_back(std::move(call));
}

void setAfterDeliveryPoster(AfterDeliveryPoster p) {
    poster = std::move(p);
}

}  // namespace platform
