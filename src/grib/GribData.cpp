#include "grib/GribData.h"

#include <algorithm>
#include <exception>

#include "grib/Decoder.h"

TGribData::TGribData(TColourTableBuilder colourTableBuilder)
    : Mapping(std::make_unique<TMapping>()), colourTableBuilder_(colourTableBuilder) {
  Mapping->SetKind(pkMercatorFull);
  Fields.push_back(std::make_unique<TDataStuff>(this));
  Current = Fields.back().get();
}

TGribData::~TGribData() = default;

std::unique_ptr<TGribData> TGribData::NewForNextMessage() const {
  auto next = std::make_unique<TGribData>(colourTableBuilder_);
  next->FileName = FileName;
  next->LowerPriority = LowerPriority;
  next->ColourMinCelsius = ColourMinCelsius;
  next->ColourMaxCelsius = ColourMaxCelsius;
  next->OnColourTable = OnColourTable;
  return next;
}

bool TGribData::MakeColourTable(TDataStuff& field) {
  Current = &field;
  if (OnColourTable)
    OnColourTable(*this, field.Bitmap, field.Continuous, ReferenceTime, field.ParameterOctet());
  else if (colourTableBuilder_)
    colourTableBuilder_(*this, field);
  else
    Log.append(QStringLiteral("No colour table builder: the field cannot be painted"));
  return OnColourTable || colourTableBuilder_;
}

void TGribData::GetIndexValues(float (&values)[256]) const {
  std::copy(Current->IndexValues.begin(), Current->IndexValues.end(), values);
}

QString TGribData::LevelText() const {
  const int code = ParameterCode();
  if (code == 91 || code == 220 || code == 221)
    return {};
  return Current->LevelText();
}

float TGribData::FirstLatitude() const {
  return GridType == 0 || GridType == 5 ? Grid.La1 / 1000.0f : kNoGeometry;
}

float TGribData::FirstLongitude() const {
  return GridType == 0 || GridType == 5 ? Grid.Lo1 / 1000.0f : kNoGeometry;
}

float TGribData::LastLatitude() const { return GridType == 0 ? Grid.La2 / 1000.0f : kNoGeometry; }

float TGribData::LastLongitude() const { return GridType == 0 ? Grid.Lo2 / 1000.0f : kNoGeometry; }

float TGribData::OrientationLongitude() const { return GridType == 5 ? Grid.LoV / 1000.0f : kNoGeometry; }

std::size_t FindGribSignature(std::span<const std::uint8_t> stream, std::size_t searchBytes) {
  static constexpr std::uint8_t kSignature[] = {'G', 'R', 'I', 'B'};
  const std::size_t end = std::min(stream.size(), searchBytes + sizeof kSignature);
  const auto window = stream.first(end);
  const auto found = std::search(window.begin(), window.end(), std::begin(kSignature), std::end(kSignature));
  return found == window.end() ? kNoSignature : static_cast<std::size_t>(found - window.begin());
}

bool TGribData::LoadFromStream(std::span<const std::uint8_t> stream, bool exactLength) {
  Current->Available.Clear();
  Current->FileName = FileName;
  messageLength_ = 0;
  // Files from telecommunication feeds start with a bulletin header; the
  // message is framed by its own lengths from the signature on.
  const std::size_t start = FindGribSignature(stream, kMaxLeadingBytes);
  if (start != kNoSignature && start > 0) {
    Log.append(QStringLiteral("Skipped %1 bytes before the GRIB message").arg(start));
    stream = stream.subspan(start);
  }
  bool ok = false;
  try {
    TMessageDecoder decoder(*this, stream);
    Edition = decoder.FindEdition();
    if (Edition == 1)
      ok = decoder.DecodeEdition1();
    else if (Edition == 2)
      ok = decoder.DecodeEdition2(exactLength);
    else
      Log.append(Edition == 0 ? QStringLiteral("No GRIB message at the start of the data")
                              : QStringLiteral("Unsupported GRIB edition %1").arg(Edition));
    if (decoder.MessageLength() > 0)
      messageLength_ = (start == kNoSignature ? 0 : start) + decoder.MessageLength();
  } catch (const std::exception& error) {
    // Only allocation can throw here.
    Log.append(QStringLiteral("Decoding stopped: %1").arg(QString::fromUtf8(error.what())));
    ok = false;
  }
  Current = Fields.back().get();
  return ok && Current->Bitmap.Height() > 0;
}
