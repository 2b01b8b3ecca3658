#pragma once
// Helpers shared by the picture writers: checked writes to a device, and a
// file save that goes to a temporary file beside the target and replaces the
// target only when every byte was written.
#include "grib/ExtBitmap.h"

#include <QIODevice>
#include <QString>
#include <functional>
#include <span>

// Writes all bytes or raises EImageError with the device's reason.
void WriteAll(QIODevice& device, std::span<const std::uint8_t> bytes);

// Pushes buffered bytes of a file device out to the file, raising
// EImageError when they do not fit; other devices are left alone.
void FlushDevice(QIODevice& device);

// Runs write on a temporary file beside fileName and renames it over
// fileName once write has returned and the data are on disk. On any error
// (raised as EImageError, or passed on from write) the temporary file is
// removed and an existing file of that name is left as it was.
void SaveThroughTemporaryFile(const QString& fileName, const std::function<void(QIODevice&)>& write);

// Raises EImageError unless the picture has at least one pixel and fits the
// format's limit on a side.
void CheckPictureSize(const TExtBitmap& bitmap, int maxSide);
