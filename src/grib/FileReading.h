#pragma once
// Reads a data file whole into memory, un-gzipping names that end in ".gz".
#include <QString>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// GRIB products of this program are a few MiB; 256 MiB leaves room for the
// largest satellite fields and keeps a bad file from exhausting memory.
inline constexpr std::uint64_t kMaxFileBytes = std::uint64_t{256} * 1024 * 1024;
inline constexpr std::uint64_t kMaxGunzippedBytes = std::uint64_t{256} * 1024 * 1024;

// True when the name ends in ".gz", in any case.
bool IsGzipName(const QString& path);

// Says, from the bytes inflated so far, whether more of them are wanted.
using TWantsMore = std::function<bool(std::span<const std::uint8_t> inflated)>;

// Inflates one gzip member, as a stream: it stops early, with what it has,
// once wantsMore says no more is needed. False, with the reason in error, for
// a broken or truncated stream or output beyond maxBytes.
bool Gunzip(std::span<const std::uint8_t> compressed, std::vector<std::uint8_t>& out, QString& error,
            std::uint64_t maxBytes = kMaxGunzippedBytes, const TWantsMore& wantsMore = {});

// Follows GRIB messages by their lengths through data as they are inflated:
// more is wanted until the last message is whole and what follows it is
// not another message (or nothing starts with "GRIB" early enough).
class TGribFraming {
public:
  bool WantsMore(std::span<const std::uint8_t> data);

private:
  std::size_t next_ = 0;  // where the next message would start
  bool started_ = false;
};

// Un-gzips a GRIB data file: inflation stops as soon as the messages are
// whole, so trailing data (or a bomb of zeros) cost nothing.
bool GunzipGrib(std::span<const std::uint8_t> compressed, std::vector<std::uint8_t>& out, QString& error,
                std::uint64_t maxBytes = kMaxGunzippedBytes);

// The bytes of a data file, un-gzipped when its name says so. False, with
// the reason in error, when the file cannot be read or is beyond the caps.
bool ReadDataFile(const QString& path, std::vector<std::uint8_t>& bytes, QString& error);
