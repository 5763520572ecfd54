// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quelmo {

// Hands back to the kernel the resident pages of this process's mappings of
// files whose path contains one of `pathParts` (madvise MADV_PAGEOUT): for
// the code of libraries the process has finished with for now, such as Qt
// Quick once the last window is closed. Only clean pages that no other
// process maps are dropped; anything touched again is read back in on
// demand. Returns the bytes of the mappings advised; 0 where the kernel
// cannot do it (before Linux 5.4, or not Linux).
std::size_t releaseFilePages(const std::vector<std::string>& pathParts);

} // namespace quelmo
