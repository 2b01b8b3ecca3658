#include "grib/Decoder.h"

#include <cstdarg>

TMessageDecoder::TMessageDecoder(TGribData& data, std::span<const std::uint8_t> stream)
    : data_(data), stream_(stream) {}

int TMessageDecoder::FindEdition() const {
  const TOctets head(stream_);
  if (head.U32(1) != 0x47524942u || !head.Has(8, 1))  // "GRIB"
    return 0;
  return static_cast<int>(head.U8(8));
}

void TMessageDecoder::Log(const QString& line) { data_.Log.append(line); }

void TMessageDecoder::Logf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  data_.Log.append(QString::vasprintf(format, args));
  va_end(args);
}

bool TMessageDecoder::Fail(const char* format, ...) {
  va_list args;
  va_start(args, format);
  data_.Log.append(QString::vasprintf(format, args));
  va_end(args);
  return false;
}
