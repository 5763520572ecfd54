// SPDX-License-Identifier: MIT
#include "platform/motion/hid_descriptor.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace quelmo::hid {

namespace {

enum ItemType { kMain = 0, kGlobal = 1, kLocal = 2 };

// Main items.
constexpr int kInput = 0x8, kOutput = 0x9, kCollection = 0xA, kFeature = 0xB, kEndCollection = 0xC;
// Global items.
constexpr int kUsagePage = 0x0, kLogicalMin = 0x1, kLogicalMax = 0x2, kPhysicalMin = 0x3,
              kPhysicalMax = 0x4, kUnitExponent = 0x5, kReportSize = 0x7, kReportId = 0x8,
              kReportCount = 0x9, kPush = 0xA, kPop = 0xB;
// Local items.
constexpr int kUsage = 0x0, kUsageMin = 0x1, kUsageMax = 0x2;

constexpr std::size_t kMostUsages = 1024;
constexpr std::size_t kMostDepth = 32;
constexpr std::uint32_t kMostReportSize = 32;
constexpr std::uint32_t kMostReportCount = 4096;

struct Globals {
    std::uint16_t page = 0;
    std::int32_t logicalMin = 0, logicalMax = 0, physicalMin = 0, physicalMax = 0;
    std::uint32_t logicalMaxRaw = 0, physicalMaxRaw = 0;
    std::size_t logicalMaxBytes = 0, physicalMaxBytes = 0;
    int unitExponent = 0;
    std::uint32_t reportSize = 0, reportCount = 0;
    std::uint8_t reportId = 0;
};

std::int32_t signedOf(std::uint32_t raw, std::size_t bytes) {
    switch (bytes) {
    case 1:
        return static_cast<std::int8_t>(raw);
    case 2:
        return static_cast<std::int16_t>(raw);
    case 4:
        return static_cast<std::int32_t>(raw);
    default:
        return 0;
    }
}

// A maximum read as signed that falls below its minimum was meant unsigned
// (a common way to write 0..255 in one byte).
std::int32_t maximumOf(std::int32_t minimum, std::uint32_t raw, std::size_t bytes) {
    const std::int32_t asSigned = signedOf(raw, bytes);
    if (asSigned < minimum && bytes < 4)
        return static_cast<std::int32_t>(raw);
    return asSigned;
}

std::uint32_t fullUsage(std::uint32_t value, std::size_t bytes, std::uint16_t page) {
    return bytes == 4 ? value : usage(page, static_cast<std::uint16_t>(value));
}

} // namespace

std::size_t Descriptor::reportBytes(ReportKind kind, std::uint8_t reportId) const {
    std::uint64_t bits = 0;
    for (const Field& f : fields)
        if (f.kind == kind && f.reportId == reportId)
            bits = std::max<std::uint64_t>(bits, f.bitOffset + std::uint64_t{f.bitSize} * f.count);
    return static_cast<std::size_t>((bits + 7) / 8) + (usesReportIds ? 1 : 0);
}

std::optional<Descriptor> parseDescriptor(const unsigned char* data, std::size_t size,
                                          std::string& error) {
    if (size == 0 || size > kMostDescriptorBytes) {
        error = "no descriptor, or one larger than 4096 bytes";
        return std::nullopt;
    }
    Descriptor out;
    Globals globals;
    std::vector<Globals> pushed;
    std::vector<std::uint32_t> usages;
    bool hasUsageMin = false;
    std::uint32_t usageMin = 0;
    std::vector<std::uint32_t> collections; // usages, outermost first
    std::uint32_t application = 0;
    // Bits used so far per report, by kind and id.
    std::map<std::tuple<int, std::uint8_t>, std::uint32_t> used;
    const auto fail = [&](const char* why) {
        error = why;
        return std::nullopt;
    };

    std::size_t i = 0;
    while (i < size) {
        const unsigned char prefix = data[i++];
        if (prefix == 0xFE) { // a long item: its size, its tag, its data
            if (i + 2 > size || i + 2 + data[i] > size)
                return fail("a long item runs past the end");
            i += 2 + data[i];
            continue;
        }
        const std::size_t bytes = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (i + bytes > size)
            return fail("an item runs past the end");
        std::uint32_t value = 0;
        for (std::size_t b = 0; b < bytes; ++b)
            value |= static_cast<std::uint32_t>(data[i + b]) << (8 * b);
        i += bytes;
        const int type = (prefix >> 2) & 3;
        const int tag = prefix >> 4;
        if (type == kGlobal) {
            switch (tag) {
            case kUsagePage:
                globals.page = static_cast<std::uint16_t>(value);
                break;
            case kLogicalMin:
                globals.logicalMin = signedOf(value, bytes);
                break;
            case kLogicalMax:
                globals.logicalMaxRaw = value;
                globals.logicalMaxBytes = bytes;
                break;
            case kPhysicalMin:
                globals.physicalMin = signedOf(value, bytes);
                break;
            case kPhysicalMax:
                globals.physicalMaxRaw = value;
                globals.physicalMaxBytes = bytes;
                break;
            case kUnitExponent:
                // A four-bit two's complement nibble, or a whole signed byte.
                globals.unitExponent = value <= 0xF ? (value >= 8 ? static_cast<int>(value) - 16
                                                                  : static_cast<int>(value))
                                                    : signedOf(value, bytes);
                break;
            case kReportSize:
                if (value == 0 || value > kMostReportSize)
                    return fail("a report size of 0 or over 32 bits");
                globals.reportSize = value;
                break;
            case kReportId:
                if (value == 0 || value > 255)
                    return fail("a report id of 0 or over 255");
                globals.reportId = static_cast<std::uint8_t>(value);
                out.usesReportIds = true;
                break;
            case kReportCount:
                if (value > kMostReportCount)
                    return fail("a report count over 4096");
                globals.reportCount = value;
                break;
            case kPush:
                if (pushed.size() >= kMostDepth)
                    return fail("pushed too deep");
                pushed.push_back(globals);
                break;
            case kPop:
                if (pushed.empty())
                    return fail("a pop without a push");
                globals = pushed.back();
                pushed.pop_back();
                break;
            default:
                break;
            }
            continue;
        }
        if (type == kLocal) {
            if (usages.size() >= kMostUsages)
                return fail("too many usages");
            if (tag == kUsage) {
                usages.push_back(fullUsage(value, bytes, globals.page));
            } else if (tag == kUsageMin) {
                usageMin = fullUsage(value, bytes, globals.page);
                hasUsageMin = true;
            } else if (tag == kUsageMax && hasUsageMin) {
                const std::uint32_t last = fullUsage(value, bytes, globals.page);
                if (last < usageMin || last - usageMin >= kMostUsages - usages.size())
                    return fail("a usage range too wide or backwards");
                for (std::uint32_t u = usageMin; u <= last; ++u)
                    usages.push_back(u);
                hasUsageMin = false;
            }
            continue;
        }
        if (type != kMain)
            return fail("an item of the reserved type");
        if (tag == kCollection) {
            if (collections.size() >= kMostDepth)
                return fail("collections nested too deep");
            const std::uint32_t u = usages.empty() ? 0 : usages.front();
            if (collections.empty()) {
                application = u;
                out.applications.push_back(u);
            }
            collections.push_back(u);
        } else if (tag == kEndCollection) {
            if (collections.empty())
                return fail("an end of a collection never begun");
            collections.pop_back();
        } else if (tag == kInput || tag == kOutput || tag == kFeature) {
            if (out.usesReportIds && globals.reportId == 0)
                return fail("a report without an id among reports with ids");
            Field f;
            f.kind = tag == kInput    ? ReportKind::input
                     : tag == kOutput ? ReportKind::output
                                      : ReportKind::feature;
            f.reportId = globals.reportId;
            f.bitSize = globals.reportSize;
            f.count = globals.reportCount;
            f.constant = (value & 1) != 0;
            f.array = (value & 2) == 0;
            f.usages = usages;
            f.logicalMin = globals.logicalMin;
            f.logicalMax =
                maximumOf(globals.logicalMin, globals.logicalMaxRaw, globals.logicalMaxBytes);
            f.physicalMin = globals.physicalMin;
            f.physicalMax =
                maximumOf(globals.physicalMin, globals.physicalMaxRaw, globals.physicalMaxBytes);
            f.unitExponent = globals.unitExponent;
            f.collection = collections.empty() ? 0 : collections.back();
            f.application = application;
            std::uint32_t& bits = used[{static_cast<int>(f.kind), f.reportId}];
            f.bitOffset = bits;
            const std::uint64_t end = bits + std::uint64_t{f.bitSize} * f.count;
            if (end > kMostReportBits)
                return fail("a report longer than 4096 bytes");
            bits = static_cast<std::uint32_t>(end);
            if (f.count > 0 && f.bitSize > 0) {
                if (out.fields.size() >= kMostFields)
                    return fail("too many fields");
                out.fields.push_back(std::move(f));
            }
        }
        // Local items last until the next main item.
        usages.clear();
        hasUsageMin = false;
    }
    if (!collections.empty())
        return fail("a collection never ended");
    return out;
}

namespace {

// Where element `index` of a field starts, in bits from the report's start.
std::optional<std::uint64_t> startBit(const Field& field, std::size_t index, std::size_t size,
                                      bool usesReportIds) {
    if (index >= field.count)
        return std::nullopt;
    const std::uint64_t start =
        (usesReportIds ? 8u : 0u) + field.bitOffset + std::uint64_t{field.bitSize} * index;
    if (start + field.bitSize > 8 * std::uint64_t{size})
        return std::nullopt;
    return start;
}

} // namespace

std::optional<std::int64_t> readField(const Field& field, std::size_t index,
                                      const unsigned char* report, std::size_t size,
                                      bool usesReportIds) {
    const auto start = startBit(field, index, size, usesReportIds);
    if (!start)
        return std::nullopt;
    std::uint64_t value = 0;
    for (std::uint32_t b = 0; b < field.bitSize; ++b) {
        const std::uint64_t at = *start + b;
        if ((report[at / 8] >> (at % 8)) & 1)
            value |= std::uint64_t{1} << b;
    }
    if (field.logicalMin < 0 && field.bitSize < 64 && (value >> (field.bitSize - 1)) & 1)
        return static_cast<std::int64_t>(value) - (std::int64_t{1} << field.bitSize);
    return static_cast<std::int64_t>(value);
}

bool writeField(const Field& field, std::size_t index, std::int64_t value, unsigned char* report,
                std::size_t size, bool usesReportIds) {
    const auto start = startBit(field, index, size, usesReportIds);
    if (!start)
        return false;
    const auto bits = static_cast<std::uint64_t>(value);
    for (std::uint32_t b = 0; b < field.bitSize; ++b) {
        const std::uint64_t at = *start + b;
        const auto mask = static_cast<unsigned char>(1u << (at % 8));
        if ((bits >> b) & 1)
            report[at / 8] |= mask;
        else
            report[at / 8] &= static_cast<unsigned char>(~mask);
    }
    return true;
}

} // namespace quelmo::hid
