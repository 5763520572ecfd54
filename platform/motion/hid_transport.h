// SPDX-License-Identifier: MIT
#pragma once

// The four things a head tracker is asked over HID: its report descriptor,
// a feature report read, a feature report written, and input reports as they
// come. Two ways to reach one: a /dev/hidraw node, or the test door
// (QUELMO_HID_TRACKER), a Unix sequenced-packet socket on which each message
// is one byte saying what it is, then its bytes:
//   'D'               -> 'D' descriptor bytes
//   'G' id            -> 'G' feature report (id first), or 'G' alone: none
//   'S' report        -> 'S' 0 (written) or 'S' 1 (refused)
//                    <-  'I' input report (id first), whenever the tracker sends one
// Everything above these four operations is shared by both.

#include <memory>
#include <string>
#include <vector>

namespace quelmo::hid {

class Transport {
  public:
    virtual ~Transport() = default;
    virtual bool descriptor(std::vector<unsigned char>& out, std::string& error) = 0;
    // `report` holds the id in its first byte and room for the whole report.
    virtual bool getFeature(std::vector<unsigned char>& report, std::string& error) = 0;
    virtual bool setFeature(const std::vector<unsigned char>& report, std::string& error) = 0;
    // The descriptor to read input reports from (on a thread of the
    // caller's), and how to strip one: how many leading bytes are framing.
    virtual int inputFd() const = 0;
    virtual std::size_t inputFraming() const = 0;
};

// Opens a hidraw node (read and write); nullptr with the reason.
std::unique_ptr<Transport> openHidraw(const std::string& path, std::string& error);
// Connects to the test door; nullptr with the reason.
std::unique_ptr<Transport> openHidSocket(const std::string& path, std::string& error);

} // namespace quelmo::hid
