// SPDX-License-Identifier: MIT
#pragma once

// HID report descriptors, read into the fields each report carries, so that
// a device's values are found by their usages, never by a fixed report id or
// offset. Standard library only (shared with the udev probe, the simulator
// and the fuzzer); a hostile descriptor gives an error, never a crash.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quelmo::hid {

// A usage with its page: page << 16 | id.
constexpr std::uint32_t usage(std::uint16_t page, std::uint16_t id) {
    return static_cast<std::uint32_t>(page) << 16 | id;
}

enum class ReportKind { input, output, feature };

struct Field {
    ReportKind kind = ReportKind::input;
    std::uint8_t reportId = 0;   // 0 when the descriptor uses no ids
    std::uint32_t bitOffset = 0; // within the report, after the id byte
    std::uint32_t bitSize = 0;   // of each element
    std::uint32_t count = 0;
    bool array = false; // each element is an index into `usages`
    bool constant = false;
    // A variable field: the usage of each element (the last one repeated);
    // an array: the usages its values select.
    std::vector<std::uint32_t> usages;
    std::int32_t logicalMin = 0, logicalMax = 0;
    std::int32_t physicalMin = 0, physicalMax = 0;
    int unitExponent = 0;
    std::uint32_t collection = 0;  // the usage of the innermost collection
    std::uint32_t application = 0; // the usage of the application collection
};

struct Descriptor {
    std::vector<Field> fields;
    std::vector<std::uint32_t> applications; // top-level collections' usages
    bool usesReportIds = false;
    // The length in bytes of a report, the id byte included when ids are used.
    std::size_t reportBytes(ReportKind kind, std::uint8_t reportId) const;
};

// Limits that no real device comes near; past them a descriptor is refused.
inline constexpr std::size_t kMostDescriptorBytes = 4096;
inline constexpr std::size_t kMostFields = 512;
inline constexpr std::size_t kMostReportBits = 8 * 4096;

std::optional<Descriptor> parseDescriptor(const unsigned char* data, std::size_t size,
                                          std::string& error);

// Reads element `index` of a field from a report (`report` starts with the id
// byte when the descriptor uses ids); sign-extended when logicalMin < 0.
// nullopt when the report is too short.
std::optional<std::int64_t> readField(const Field& field, std::size_t index,
                                      const unsigned char* report, std::size_t size,
                                      bool usesReportIds);
// Writes element `index`; false when the report is too short.
bool writeField(const Field& field, std::size_t index, std::int64_t value, unsigned char* report,
                std::size_t size, bool usesReportIds);

} // namespace quelmo::hid
