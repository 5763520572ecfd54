// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace quelmo {

// The two lines on the frost's card.
struct FrostTexts {
    QString title;
    QString hint;
};

// The wording for a user who turned away (`away` false) or stepped away
// (`away` true).
FrostTexts frostTexts(bool away);

} // namespace quelmo
