#include "platform/app_ports/head_tracker_adapter.h"

#include "platform/motion/motion_service.h"

namespace quelmo {

HeadTrackerPort::PlatformAuthorization platformStatusOf(MotionAccessStatus status) {
    using Platform = HeadTrackerPort::PlatformAuthorization;
    switch (status) {
    case MotionAccessStatus::restricted:
        return Platform::restricted;
    case MotionAccessStatus::denied:
        return Platform::denied;
    case MotionAccessStatus::authorized:
        return Platform::authorized;
    case MotionAccessStatus::notDetermined:
        break;
    }
    return Platform::notDetermined;
}

HeadTrackerAdapter::HeadTrackerAdapter(HeadTracker& tracker) : tracker_(tracker) {
    // The app model observes after this; the handlers are looked up at call
    // time.
    tracker_.onMotion = [this](double heading, double vertical) {
        if (handlers_.motion) {
            handlers_.motion(heading, vertical);
        }
    };
    tracker_.onConnectionChange = [this](bool connected) {
        if (handlers_.connectionChange) {
            handlers_.connectionChange(connected);
        }
    };
    tracker_.onError = [this](std::string text) {
        if (handlers_.error) {
            handlers_.error(text);
        }
    };
}

HeadTrackerAdapter::~HeadTrackerAdapter() {
    tracker_.onMotion = nullptr;
    tracker_.onConnectionChange = nullptr;
    tracker_.onError = nullptr;
}

bool HeadTrackerAdapter::isDeviceMotionAvailable() const {
    return tracker_.manager().isDeviceMotionAvailable();
}

HeadTrackerPort::PlatformAuthorization HeadTrackerAdapter::platformAuthorizationStatus() const {
    return platformStatusOf(tracker_.manager().authorizationStatus());
}

} // namespace quelmo
