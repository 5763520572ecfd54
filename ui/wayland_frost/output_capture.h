// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

#include <functional>
#include <memory>

struct wl_callback;
struct zwlr_screencopy_frame_v1;

namespace quelmo {

class ShmBuffer;
class WaylandDisplay;
struct WaylandOutput;

// One picture of an output as the compositor shows it, through wlroots'
// screencopy: asked for at once (the request leaves with the display's next
// flush, together with the other outputs'), it arrives with the display's
// events.
// The compositor copies the next frame it makes for the output, so a frost
// committed before that frame is made would be in the picture: the frost
// tells the capture before it commits (frostAboutToCommit()), and a picture
// that may have been made after the compositor handled that commit is
// refused. Main thread only.
class OutputCapture {
  public:
    enum class State {
        waiting,
        ready,
        // The compositor could not copy the output.
        failed,
        // Made after the frost was committed, so it would show the frost.
        refused,
    };

    OutputCapture(WaylandDisplay& display, WaylandOutput& output);
    ~OutputCapture();
    OutputCapture(const OutputCapture&) = delete;
    OutputCapture& operator=(const OutputCapture&) = delete;

    State state() const { return state_; }
    // The compositor said how it copies, and was asked to copy.
    bool isCopying() const { return buffer_ != nullptr; }
    // The frost on this output is about to be committed while the picture
    // is awaited. Asks the compositor for a round trip, sent just ahead of
    // the commit (the commit's flush sends both): events on one connection
    // arrive in the order the compositor sent them, so a picture that comes
    // before the round trip's answer was made before the compositor read
    // the commit; one that comes after is refused.
    void frostAboutToCommit();
    // The picture once ready, upright, in device pixels; it shares the
    // capture's memory unless it had to be turned upright.
    QImage picture() const;

    // The capture ended (ready, failed or refused); called while the
    // display handles its events.
    std::function<void()> onFinished;

  private:
    struct Listener;
    void finish(State state);

    WaylandDisplay& display_;
    zwlr_screencopy_frame_v1* frame_ = nullptr;
    wl_callback* check_ = nullptr;
    std::unique_ptr<ShmBuffer> buffer_;
    bool flipped_ = false;
    State state_ = State::waiting;
};

// A picture reduced and blurred for the frost, as on X11: an eighth by
// sampling, a half by averaging, then a box blur, so no text survives.
QImage frostPictureOf(const QImage& captured);

} // namespace quelmo
