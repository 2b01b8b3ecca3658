#include "grib/FileReading.h"
#include "grib/NetCdfReader.h"

#include <QDir>
#include <QFile>

#include <zlib.h>

#include <algorithm>

#include "grib/GribData.h"
#include "grib/Octets.h"

namespace {

// zlib counts in 32-bit units; feed and drain it in pieces of this size.
constexpr std::size_t kChunk = 1 << 20;

class TInflater {
public:
  TInflater() { ok_ = inflateInit2(&stream_, 16 + MAX_WBITS) == Z_OK; }  // gzip wrapper only
  ~TInflater() {
    if (ok_)
      inflateEnd(&stream_);
  }
  TInflater(const TInflater&) = delete;
  TInflater& operator=(const TInflater&) = delete;
  bool Ok() const { return ok_; }
  z_stream& Stream() { return stream_; }

private:
  z_stream stream_{};
  bool ok_ = false;
};

}  // namespace

bool IsGzipName(const QString& path) { return path.endsWith(QLatin1String(".gz"), Qt::CaseInsensitive); }

bool Gunzip(std::span<const std::uint8_t> compressed, std::vector<std::uint8_t>& out, QString& error,
            std::uint64_t maxBytes, const TWantsMore& wantsMore) {
  out.clear();
  TInflater inflater;
  if (!inflater.Ok()) {
    error = QStringLiteral("The gzip decoder could not start");
    return false;
  }
  z_stream& z = inflater.Stream();
  std::size_t consumed = 0;
  int status = Z_OK;
  while (status != Z_STREAM_END) {
    if (z.avail_in == 0 && consumed < compressed.size()) {
      const std::size_t piece = std::min(kChunk, compressed.size() - consumed);
      z.next_in = const_cast<Bytef*>(compressed.data() + consumed);  // zlib does not write its input
      z.avail_in = static_cast<uInt>(piece);
      consumed += piece;
    }
    if (out.size() >= maxBytes) {
      error = QStringLiteral("The un-gzipped data exceed %1 MiB").arg(maxBytes >> 20);
      return false;
    }
    const std::size_t before = out.size();
    const std::size_t room = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, maxBytes - before));
    out.resize(before + room);
    z.next_out = out.data() + before;
    z.avail_out = static_cast<uInt>(room);
    const uInt inputBefore = z.avail_in;
    status = inflate(&z, Z_NO_FLUSH);
    out.resize(before + (room - z.avail_out));
    if (status == Z_STREAM_END || (wantsMore && !wantsMore(out)))
      break;
    if (status == Z_BUF_ERROR && z.avail_in == 0 && consumed == compressed.size()) {
      error = QStringLiteral("The gzip data end before the compressed stream does");
      return false;
    }
    if (status != Z_OK && status != Z_BUF_ERROR) {
      error = QStringLiteral("Broken gzip data: %1").arg(QString::fromUtf8(z.msg ? z.msg : "unknown error"));
      return false;
    }
    if (status == Z_BUF_ERROR && z.avail_in == inputBefore && z.avail_out != 0) {
      error = QStringLiteral("The gzip data end before the compressed stream does");
      return false;
    }
  }
  return true;
}

bool TGribFraming::WantsMore(std::span<const std::uint8_t> data) {
  constexpr std::size_t kHeader = 16;  // signature, lengths and edition of either edition
  if (!started_) {
    const std::size_t start = FindGribSignature(data, kMaxLeadingBytes);
    if (start == kNoSignature)
      return data.size() < kMaxLeadingBytes + kHeader;
    next_ = start;
    started_ = true;
  }
  while (data.size() >= kHeader && next_ <= data.size() - kHeader) {
    const TOctets head(data.subspan(next_, kHeader));
    if (head.U32(1) != 0x47524942u)  // "GRIB"
      return false;
    const std::uint32_t edition = head.U8(8);
    const std::uint64_t length = edition == 1 ? head.U24(5) : edition == 2 ? head.U(9, 8) : 0;
    if (length < kHeader)
      return false;  // the decoder says what is wrong with it
    if (length > data.size() - next_)
      return true;
    next_ += static_cast<std::size_t>(length);
  }
  return true;
}

bool GunzipGrib(std::span<const std::uint8_t> compressed, std::vector<std::uint8_t>& out, QString& error,
                std::uint64_t maxBytes) {
  TGribFraming framing;
  return Gunzip(compressed, out, error, maxBytes,
                [&framing](std::span<const std::uint8_t> inflated) { return framing.WantsMore(inflated); });
}

bool ReadDataFile(const QString& path, std::vector<std::uint8_t>& bytes, QString& error) {
  bytes.clear();
  const QString shown = QDir::toNativeSeparators(path);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("Cannot read %1: %2").arg(shown, file.errorString());
    return false;
  }
  const qint64 size = file.size();
  if (size < 0 || static_cast<std::uint64_t>(size) > kMaxFileBytes) {
    error = QStringLiteral("%1 is larger than %2 MiB").arg(shown).arg(kMaxFileBytes >> 20);
    return false;
  }
  std::vector<std::uint8_t> raw(static_cast<std::size_t>(size));
  if (size > 0 && file.read(reinterpret_cast<char*>(raw.data()), size) != size) {
    error = QStringLiteral("Cannot read %1: %2").arg(shown, file.errorString());
    return false;
  }
  if (!IsGzipName(path)) {
    bytes = std::move(raw);
    return true;
  }
  QString reason;
  // A netCDF file is read whole (under the cap); GRIB data stop with their
  // last message.
  TGribFraming framing;
  const auto wantsMore = [&framing](std::span<const std::uint8_t> inflated) {
    constexpr std::size_t kSignatureBytes = 8;
    if (inflated.size() >= kSignatureBytes && IsNetCdfData(inflated.first(kSignatureBytes)))
      return true;
    return framing.WantsMore(inflated);
  };
  if (!Gunzip(raw, bytes, reason, kMaxGunzippedBytes, wantsMore)) {
    error = QStringLiteral("%1: %2").arg(shown, reason);
    bytes.clear();
    return false;
  }
  return true;
}
