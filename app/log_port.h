// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace quelmo {

// What the app model uses of the diagnostics log: DiagnosticsLog in
// platform/log implements it; tests may stand in a recorder.
class LogPort {
  public:
    virtual ~LogPort() = default;
    // Opens the log and writes its start line; nothing if already open.
    virtual void open() = 0;
    // Closes it; safe when closed.
    virtual void close() = 0;
    // Appends one timestamped line; dropped while the log is closed.
    virtual void write(std::string_view message) = 0;
    // The same, stamped `secondsAgo` before now: a line about a head sample
    // that was held back and is handled only now. Never stamped before a
    // line already written, so the file stays in time order.
    virtual void write(std::string_view message, double secondsAgo) = 0;
    // Whether the log is open, so that nothing is formatted for a closed log.
    virtual bool isOpen() const = 0;
};

} // namespace quelmo
