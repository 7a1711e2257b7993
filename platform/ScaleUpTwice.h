#pragma once

class QImage;

// Doubles a 32-bit picture per side with linear filtering, as a GPU samples a half-size frame buffer
// stretched over the whole frame: each new pixel takes three quarters of its nearest source pixel and
// a quarter of the next one on each axis, the edges clamped. Within a level or two of exact rounding.
// False where this build has no fast path: the caller scales some other way. `into` is made
// twice the size of `from` (RGB32) when it is not.
bool scaleUpTwice(const QImage& from, QImage& into);
