#pragma once
// Work kept back during a port delivery (platform/Delivery.h) runs from the Qt event loop, as a
// queued call on the application object, once the delivery has returned.
namespace platform {

void installQtAfterDeliveryPoster();

}  // namespace platform
