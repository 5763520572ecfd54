// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

class QPainter;

namespace quelmo {

struct FrostTexts;

// Pieces of the frost drawn with a QPainter alone, for overlays that are not
// made of widgets (a Wayland layer surface paints into a plain buffer). They
// use the same look as the frost window and its card.

// The card with the title and the hint, centred in `area` (logical pixels).
void paintFrostCard(QPainter& painter, const QRect& area, const FrostTexts& texts);

// The card's size for `texts`, in logical pixels.
QSize frostCardSize(const FrostTexts& texts);

// A picture that stands for the screen where none can be taken: the tint's
// colour at full opacity, in a soft gradient from a lighter top to a darker
// bottom. The tint goes over it like over a blurred screen, so the frost
// strength still sets how dark the frost looks; no pixel of it is see-through.
// Small (it is stretched over the screen).
QImage opaqueBackdrop();

// `picture` (a blurred screen or the opaque backdrop) with `tint` laid over
// it, opaque; a null image for a null picture.
QImage tintedPicture(const QImage& picture, const QColor& tint);

// A whole frame: the tinted picture stretched over `area` (or the neutral
// grey under the tint when there is none) and the card in the middle.
void paintFrostFrame(QPainter& painter, const QRect& area, const QImage& tintedPicture,
                     const QColor& tint, const FrostTexts& texts);

} // namespace quelmo
