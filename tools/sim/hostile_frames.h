// SPDX-License-Identifier: MIT
#pragma once

// Frames real earbuds send beside samples, and worse, for the fake earbuds
// to send: nothing here may ever be read as a head pose.

#include <cstddef>
#include <cstdint>

namespace quelmo::sim {

// A property-list message on the sensor opcode (its length varying with
// `noise`, 90 to 190 bytes) whose last 58 bytes read as a perfect pose turned
// `degrees` at rest. out must hold 200 bytes; returns the size.
std::size_t poseShapedPropertyList(double degrees, std::uint32_t& noise, unsigned char* out);
// The sensor prefix and a matching length field before 58 to 150 random
// bytes. out must hold 160 bytes; returns the size.
std::size_t randomSensorBody(std::uint32_t& noise, unsigned char* out);

} // namespace quelmo::sim
