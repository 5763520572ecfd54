// SPDX-License-Identifier: MIT
#include "app/platform_wording.h"

#include <QCoreApplication>

namespace quelmo::wording {

QString translated(const char* source) {
    return QCoreApplication::translate(kContext, source);
}

} // namespace quelmo::wording
