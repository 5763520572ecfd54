#include "platform/app_ports/head_tracker_adapter.h"

#include "platform/motion/motion_service.h"

namespace quelmo {

int platformStatusOf(MotionAccessStatus status) {
    switch (status) {
    case MotionAccessStatus::restricted:
        return 1;
    case MotionAccessStatus::denied:
        return 2;
    case MotionAccessStatus::authorized:
        return 3;
    case MotionAccessStatus::notDetermined:
        break;
    }
    return 0;
}

HeadTrackerAdapter::HeadTrackerAdapter(HeadTracker& tracker) : tracker_(tracker) {
    // The port's callbacks are set by the app model after this; look them up
    // at call time.
    tracker_.onMotion = [this](double heading, double vertical) {
        if (onMotion) {
            onMotion(heading, vertical);
        }
    };
    tracker_.onConnectionChange = [this](bool connected) {
        if (onConnectionChange) {
            onConnectionChange(connected);
        }
    };
    tracker_.onError = [this](std::string text) {
        if (onError) {
            onError(text);
        }
    };
    tracker_.onSourceChange = [this](std::string name) {
        if (onSourceChange) {
            onSourceChange(name);
        }
    };
}

HeadTrackerAdapter::~HeadTrackerAdapter() {
    tracker_.onMotion = nullptr;
    tracker_.onConnectionChange = nullptr;
    tracker_.onError = nullptr;
    tracker_.onSourceChange = nullptr;
}

bool HeadTrackerAdapter::isDeviceMotionAvailable() const {
    return tracker_.manager().isDeviceMotionAvailable();
}

int HeadTrackerAdapter::platformAuthorizationStatus() const {
    return platformStatusOf(tracker_.manager().authorizationStatus());
}

} // namespace quelmo
