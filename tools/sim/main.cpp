// SPDX-License-Identifier: MIT
// quelmo-sim: virtual headphones that feed a running Quelmo through its
// native motion socket at 50 Hz (or, with --earbuds, as fake earbuds on the
// earbuds socket at 25 Hz), from a script, the built-in demo or the
// keyboard; and, with --report, the Bluetooth report of those headphones.

#include "platform/motion/motion_paths.h"
#include "tools/sim/capture_player.h"
#include "tools/sim/earbuds_server.h"
#include "tools/sim/hid_tracker_server.h"
#include "tools/sim/native_output.h"
#include "tools/sim/sim_script.h"
#include "tools/sim/sim_state_file.h"
#include "tools/sim/terminal.h"
#include "tools/sim/virtual_headphones.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

using namespace quelmo;
using namespace quelmo::sim;
using Clock = std::chrono::steady_clock;

constexpr auto kPeriod = std::chrono::milliseconds(20); // 50 Hz

std::atomic<bool> stopRequested{false};

void onSignal(int) {
    stopRequested = true;
}

void usage(std::FILE* to) {
    std::string text(
        "Usage: quelmo-sim [options] demo | FILE\n"
        "       quelmo-sim [options]             (interactive, when standard input is a terminal)\n"
        "       quelmo-sim --report\n"
        "\n"
        "Virtual headphones for Quelmo: sends head motion to Quelmo's motion socket\n"
        "($XDG_RUNTIME_DIR/quelmo/motion.sock) 50 times a second.\n"
        "\n"
        "Script lines are \"SECONDS ACTION [ARG]\"; '#' starts a comment. Actions:\n"
        "  face            look at the screen (heading 0)\n"
        "  turn DEGREES    turn the head smoothly to DEGREES over the step (+ = left)\n"
        "  hold            keep still\n"
        "  walk            walk (1.9 Hz gait, about 0.3 g)\n"
        "  quiet-walk      walk softly (about 0.09 g)\n"
        "  disconnect      take the earbuds out (no samples until connect)\n"
        "  connect         put them back in\n"
        "  rssi DBM        the signal strength --report gives (below 0)\n"
        "\n"
        "Interactive keys: Left/Right turn the head, Up faces the screen, w walks,\n"
        "s walks softly, d disconnects and reconnects, + and - change the signal,\n"
        "q quits.\n"
        "\n"
        "Options:\n"
        "  --earbuds       be earbuds instead: listen on the earbuds socket (--socket PATH,\n"
        "                  else $QUELMO_EARBUDS_SOCKET, else "
        "$XDG_RUNTIME_DIR/quelmo/earbuds.sock)\n"
        "                  and speak the AirPods head-tracking frames to a Quelmo started\n"
        "                  with QUELMO_EARBUDS_SOCKET set to the same path\n"
        "  --quirk LIST    with --earbuds: misbehave as earbuds in the field do, a "
        "comma-separated\n"
        "                  list of: %QUIRKS%\n"
        "  --play FILE     with --earbuds: play a capture (quelmo --probe-headphones --capture)\n"
        "                  back to Quelmo, frames timed as captured, instead of a script\n"
        "  --hid-tracker   be a head tracker on the open HID standard instead: listen on\n"
        "                  --socket PATH, else $QUELMO_HID_TRACKER, else\n"
        "                  $XDG_RUNTIME_DIR/quelmo/hid-tracker.sock, for a Quelmo started with\n"
        "                  QUELMO_HID_TRACKER set to the same path; --variant serves the\n"
        "                  firmware variant's descriptor, --reset-at S moves its reference\n"
        "                  frame by 90 degrees (and its reset counter) S seconds in\n"
        "  --socket PATH   send to PATH instead of Quelmo's motion socket\n"
        "  --loop          play the script again and again\n"
        "  --report        print the Bluetooth report of the running simulator and exit\n"
        "                  (for QUELMO_BLUETOOTH_REPORT=\"quelmo-sim --report\")\n");
    std::string quirks = kQuirkHelp;
    for (std::size_t at = quirks.find('\n'); at != std::string::npos;
         at = quirks.find('\n', at + 1))
        quirks.replace(at, 1, "\n                  ");
    text.replace(text.find("%QUIRKS%"), 8, quirks);
    std::fputs(text.c_str(), to);
}

// Publishes the state --report reads, whenever it changes.
class StatePublisher {
  public:
    explicit StatePublisher(std::string path) : path_(std::move(path)) {}
    ~StatePublisher() {
        if (written_)
            std::remove(path_.c_str());
    }
    void publish(const VirtualHeadphones& phones) {
        if (written_ && phones.connected == last_.connected && phones.rssi == last_.rssi)
            return;
        last_ = SharedState{static_cast<long>(::getpid()), phones.connected, phones.rssi};
        written_ = writeSharedState(path_, last_);
    }

  private:
    std::string path_;
    SharedState last_;
    bool written_ = false;
};

std::string statusLine(const VirtualHeadphones& phones, const HeadphoneOutput& sender) {
    char line[200];
    const char* gait = phones.gait >= VirtualHeadphones::kWalkG ? "walking"
                       : phones.gait > 0                        ? "walking softly"
                                                                : "still";
    std::snprintf(line, sizeof line, "heading %+6.1f°  %-14s  %-12s  signal %4d dBm  %s",
                  phones.heading, gait, phones.connected ? "connected" : "disconnected",
                  phones.rssi,
                  !phones.connected    ? ""
                  : sender.reachable() ? "→ Quelmo"
                                       : "(Quelmo is not listening)");
    return line;
}

// Fake earbuds play their script from the moment Quelmo asks for head
// tracking (or after a while without it), so no part of it is missed.
void waitForQuelmo(HeadphoneOutput& earbuds) {
    constexpr auto kPatience = std::chrono::seconds(30);
    std::fprintf(stderr, "quelmo-sim: waiting for Quelmo to ask for head tracking\n");
    const VirtualHeadphones phones;
    const auto start = Clock::now();
    while (!earbuds.reachable() && !stopRequested && Clock::now() - start < kPatience) {
        earbuds.tick(phones, false, 0);
        std::this_thread::sleep_for(kPeriod);
    }
}

int runScript(const std::vector<Step>& steps, HeadphoneOutput& feeder, StatePublisher& state,
              bool loop) {
    if (dynamic_cast<EarbudsServer*>(&feeder) != nullptr ||
        dynamic_cast<HidTrackerServer*>(&feeder) != nullptr)
        waitForQuelmo(feeder);
    std::fprintf(stderr, "quelmo-sim: playing %.1f s of script to %s\n",
                 ScriptPlayer(steps).totalSeconds(), feeder.destination().c_str());
    VirtualHeadphones phones;
    // The devices' own clock runs on across the script's repeats: a stream
    // that saw its time go back would fall silent until it caught up.
    const auto begin = Clock::now();
    do {
        ScriptPlayer player(steps);
        player.onStep = [](const Step& step, double at) {
            std::fprintf(stderr, "  %6.1f s  line %3d: %s", at, step.line, actionName(step.action));
            if (step.action == Action::turn || step.action == Action::rssi)
                std::fprintf(stderr, " %g", step.argument);
            std::fputc('\n', stderr);
        };
        const auto start = Clock::now();
        auto next = start;
        bool playing = true;
        while (playing && !stopRequested) {
            const double t = std::chrono::duration<double>(Clock::now() - start).count();
            playing = player.advance(t, phones);
            state.publish(phones);
            feeder.tick(phones, player.connectionChanged,
                        std::chrono::duration<double>(Clock::now() - begin).count());
            player.connectionChanged = false;
            next += kPeriod;
            std::this_thread::sleep_until(next);
        }
    } while (loop && !stopRequested);
    feeder.finish(phones);
    return 0;
}

int runInteractive(HeadphoneOutput& feeder, StatePublisher& state) {
    std::fprintf(stderr,
                 "quelmo-sim: sending to %s\n"
                 "Left/Right turn, Up faces the screen, w walk, s soft walk, d (dis)connect, "
                 "+/- signal, q quit\n",
                 feeder.destination().c_str());
    RawTerminal terminal;
    VirtualHeadphones phones;
    double target = 0;
    bool connectionChanged = true; // announce the earbuds at start
    const auto start = Clock::now();
    auto next = start;
    auto last = start;
    while (!stopRequested) {
        char ch = 0;
        const int wait = static_cast<int>(std::max<long>(
            0, std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now()).count()));
        if (const auto key = terminal.readKey(wait, ch)) {
            switch (*key) {
            case Key::left:
                target += 15;
                break;
            case Key::right:
                target -= 15;
                break;
            case Key::up:
                target = 0;
                break;
            case Key::down:
                break;
            case Key::other:
                if (ch == 'q' || ch == 'Q')
                    stopRequested = true;
                else if (ch == 'w')
                    phones.gait =
                        phones.gait == VirtualHeadphones::kWalkG ? 0 : VirtualHeadphones::kWalkG;
                else if (ch == 's')
                    phones.gait = phones.gait == VirtualHeadphones::kQuietWalkG
                                      ? 0
                                      : VirtualHeadphones::kQuietWalkG;
                else if (ch == 'd') {
                    phones.connected = !phones.connected;
                    connectionChanged = true;
                } else if (ch == '+' || ch == '=')
                    phones.rssi = std::min(phones.rssi + 3, -1);
                else if (ch == '-')
                    phones.rssi = std::max(phones.rssi - 3, -127);
                break;
            }
            continue; // handle every pending key before the next tick
        }
        const auto now = Clock::now();
        const double t = std::chrono::duration<double>(now - start).count();
        phones.heading =
            approach(phones.heading, target, std::chrono::duration<double>(now - last).count());
        last = now;
        state.publish(phones);
        feeder.tick(phones, connectionChanged, t);
        connectionChanged = false;
        std::fprintf(stderr, "\r%s\x1b[K", statusLine(phones, feeder).c_str());
        next += kPeriod;
    }
    std::fputc('\n', stderr);
    feeder.finish(phones);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string socketPath;
    std::string scriptName;
    bool loop = false;
    bool asEarbuds = false;
    bool asTracker = false;
    bool variant = false;
    double resetAt = -1;
    EarbudsQuirks quirks;
    std::string capturePath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            usage(stdout);
            return 0;
        } else if (arg == "--report") {
            const std::string json =
                simulatedReport(readLiveSharedState(MotionPaths::fromEnvironment().simStatePath()));
            std::fwrite(json.data(), 1, json.size(), stdout);
            return 0;
        } else if (arg == "--earbuds") {
            asEarbuds = true;
        } else if (arg == "--hid-tracker") {
            asTracker = true;
        } else if (arg == "--variant") {
            variant = true;
        } else if (arg == "--reset-at" && i + 1 < argc) {
            char* end = nullptr;
            resetAt = std::strtod(argv[++i], &end);
            if (end == argv[i] || *end != '\0' || !(resetAt >= 0 && resetAt < 1e6)) {
                std::fprintf(stderr, "quelmo-sim: --reset-at needs seconds\n");
                return 2;
            }
        } else if (arg == "--loop") {
            loop = true;
        } else if (arg == "--quirk" && i + 1 < argc) {
            std::string error;
            if (!parseQuirks(argv[++i], quirks, error)) {
                std::fprintf(stderr, "quelmo-sim: %s; known quirks:\n%s\n", error.c_str(),
                             kQuirkHelp);
                return 2;
            }
        } else if (arg == "--play" && i + 1 < argc) {
            capturePath = argv[++i];
        } else if (arg == "--socket" && i + 1 < argc) {
            socketPath = argv[++i];
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
            std::fprintf(stderr, "quelmo-sim: unknown option %s\n\n", arg.c_str());
            usage(stderr);
            return 2;
        } else if (scriptName.empty()) {
            scriptName = arg;
        } else {
            usage(stderr);
            return 2;
        }
    }

    if (!capturePath.empty() && !asEarbuds) {
        std::fputs("quelmo-sim: --play needs --earbuds\n", stderr);
        return 2;
    }
    std::string scriptText;
    if (!capturePath.empty()) {
        // The capture is the script.
    } else if (scriptName == "demo") {
        scriptText = kDemoScript;
    } else if (!scriptName.empty()) {
        std::ifstream file(scriptName == "-" ? "/dev/stdin" : scriptName);
        if (!file) {
            std::fprintf(stderr, "quelmo-sim: cannot read %s\n", scriptName.c_str());
            return 2;
        }
        std::stringstream text;
        text << file.rdbuf();
        scriptText = text.str();
    } else if (!::isatty(STDIN_FILENO)) {
        std::fputs("quelmo-sim: give a script (or \"demo\"), or run it in a terminal to steer by "
                   "keyboard\n",
                   stderr);
        usage(stderr);
        return 2;
    }
    std::vector<Step> steps;
    if (!scriptText.empty()) {
        ScriptError error;
        auto parsed = parseScript(scriptText, error);
        if (!parsed) {
            std::fprintf(stderr, "quelmo-sim: %s:%d: %s\n", scriptName.c_str(), error.line,
                         error.message.c_str());
            return 2;
        }
        steps = std::move(*parsed);
    }

    const MotionPaths paths = MotionPaths::fromEnvironment();
    std::string why;
    if (!ensurePrivateFolder(paths.runtimeDir, why) ||
        !ensurePrivateFolder(paths.socketFolder(), why)) {
        std::fprintf(stderr, "quelmo-sim: %s\n", why.c_str());
        return 1;
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::unique_ptr<HeadphoneOutput> output;
    if (asTracker) {
        const char* fromEnvironment = std::getenv("QUELMO_HID_TRACKER");
        const std::string path = !socketPath.empty() ? socketPath
                                 : fromEnvironment != nullptr && *fromEnvironment != '\0'
                                     ? std::string(fromEnvironment)
                                     : paths.socketFolder() + "/hid-tracker.sock";
        auto server = std::make_unique<HidTrackerServer>(path, variant, resetAt);
        if (!server->isListening()) {
            std::fprintf(stderr, "quelmo-sim: %s\n", server->error().c_str());
            return 1;
        }
        output = std::move(server);
    } else if (asEarbuds) {
        const char* fromEnvironment = std::getenv("QUELMO_EARBUDS_SOCKET");
        const std::string path = !socketPath.empty() ? socketPath
                                 : fromEnvironment != nullptr && *fromEnvironment != '\0'
                                     ? std::string(fromEnvironment)
                                     : paths.socketFolder() + "/earbuds.sock";
        if (!capturePath.empty()) {
            std::vector<earbuds::CapturedFrame> frames;
            std::string error;
            if (!CapturePlayer::read(capturePath, frames, error)) {
                std::fprintf(stderr, "quelmo-sim: %s\n", error.c_str());
                return 2;
            }
            return CapturePlayer(path, std::move(frames)).play(stopRequested);
        }
        auto server = std::make_unique<EarbudsServer>(path, quirks);
        if (!server->isListening()) {
            std::fprintf(stderr, "quelmo-sim: %s\n", server->error().c_str());
            return 1;
        }
        output = std::move(server);
    } else {
        output =
            std::make_unique<NativeOutput>(socketPath.empty() ? paths.socketPath() : socketPath);
    }
    StatePublisher state(paths.simStatePath());
    return steps.empty() ? runInteractive(*output, state) : runScript(steps, *output, state, loop);
}
