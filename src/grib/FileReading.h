#pragma once
// Reads a data file whole into memory, un-gzipping names that end in ".gz".
#include <QString>

#include <cstdint>
#include <span>
#include <vector>

// GRIB products of this program are a few MiB; 256 MiB leaves room for the
// largest satellite fields and keeps a bad file from exhausting memory.
inline constexpr std::uint64_t kMaxFileBytes = std::uint64_t{256} * 1024 * 1024;
inline constexpr std::uint64_t kMaxGunzippedBytes = std::uint64_t{256} * 1024 * 1024;

// True when the name ends in ".gz", in any case.
bool IsGzipName(const QString& path);

// Inflates one gzip member. False, with the reason in error, for a broken or
// truncated stream or output beyond maxBytes.
bool Gunzip(std::span<const std::uint8_t> compressed, std::vector<std::uint8_t>& out, QString& error,
            std::uint64_t maxBytes = kMaxGunzippedBytes);

// The bytes of a data file, un-gzipped when its name says so. False, with
// the reason in error, when the file cannot be read or is beyond the caps.
bool ReadDataFile(const QString& path, std::vector<std::uint8_t>& bytes, QString& error);
