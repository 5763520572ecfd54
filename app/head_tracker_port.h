#pragma once

#include <functional>
#include <string>

namespace quelmo {

// What the app model needs of head motion: the tracker that turns headphone
// motion into headings, and the motion service behind it. Callbacks are set
// once by the app model and always run on the main thread.
class HeadTrackerPort {
  public:
    enum class Authorization { notDetermined, authorized, denied };

    virtual ~HeadTrackerPort() = default;

    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
    // Whether motion can work at all on this computer.
    virtual bool isDeviceMotionAvailable() const = 0;
    // The platform's motion permission as it stands now: 0 not determined,
    // 1 restricted, 2 denied, 3 authorized; other values may appear.
    virtual int platformAuthorizationStatus() const = 0;

    // The permission mapped onto the app's three cases, asked afresh each time.
    Authorization currentAuthorization() const {
        return mapAuthorization(platformAuthorizationStatus());
    }

    static Authorization mapAuthorization(int status) {
        switch (status) {
        case 1:
        case 2:
            return Authorization::denied;
        case 3:
            return Authorization::authorized;
        default:
            return Authorization::notDetermined;
        }
    }
    // Restricted, denied and authorized are answers; anything else is not.
    static bool isDecided(int status) { return status >= 1 && status <= 3; }

    static const char* name(Authorization a) {
        switch (a) {
        case Authorization::authorized:
            return "authorized";
        case Authorization::denied:
            return "denied";
        case Authorization::notDetermined:
            break;
        }
        return "notDetermined";
    }

    std::function<void(double heading, double vertical)> onMotion;
    std::function<void(bool connected)> onConnectionChange;
    std::function<void(const std::string& text)> onError;
    // The source now feeding head motion, named for the user; called before
    // its first sample.
    std::function<void(const std::string& name)> onSourceChange;
};

} // namespace quelmo
