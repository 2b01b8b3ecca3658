#pragma once
// Resampling of 8-bit (one channel of indices) and 24-bit (three channels)
// pictures to a new size. Output pixel x takes its value from source
// position x * sourceWidth / newWidth (likewise for rows), so doubling by
// nearest neighbour repeats every pixel as a 2 x 2 block and doubling
// linearly puts the mean of two neighbours between them.
#include "grib/ExtBitmap.h"

enum TInterpolation : int {
  kInterpolateDefault = -1,  // cubic when enlarging, super-sampling when reducing
  kInterpolateNearest = 0,
  kInterpolateLinear = 1,
  kInterpolateCubic = 2,
  kInterpolateSuperSample = 3,  // mean over the covered source area
};

// Resamples the bitmap in place to newWidth x newHeight. Nothing happens for
// the same size or for a picture with a side of 2 pixels or less. Raises
// EImageError, leaving the bitmap as it was, when one side grows while the
// other shrinks, when the picture is neither 8- nor 24-bit, or when the new
// size or method is out of range.
void Interpolate(TExtBitmap& bitmap, int newWidth, int newHeight, int method = kInterpolateDefault);

// Linear resampling of an 8-bit picture of scale indices in which `hole`
// marks the points without a value (land, gaps in the data). Between
// present pixels it blends as kInterpolateLinear does; an output pixel whose
// source neighbours include a hole takes its nearest source pixel instead,
// so no index between the data and the hole is made up, and a pixel is a
// hole exactly where nearest-neighbour resampling makes it one. The same
// calls as Interpolate leave the picture alone or raise; a 24-bit picture
// raises the pixel-format message.
void InterpolatePresent(TExtBitmap& bitmap, int newWidth, int newHeight, std::uint8_t hole);

inline constexpr const char* kMixedDirectionMessage =
    "Error: Interpolate called with increase width and reduce height or vice-versa.";
inline constexpr const char* kPixelFormatMessage = "Error: Interpolate called without 8-bit or 24-bit pixels.";
