#include "grib/GribData.h"

#include <QCursor>
#include <QGuiApplication>

#include <algorithm>
#include <exception>

#include "grib/Decoder.h"
#include "settings/ProcessPriority.h"

namespace {

// The hourglass while a file decodes, where there is a screen to show it on.
class TWaitCursor {
public:
  TWaitCursor() : shown_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (shown_)
      QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  }
  ~TWaitCursor() {
    if (shown_)
      QGuiApplication::restoreOverrideCursor();
  }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
  bool shown_;
};

}  // namespace

TGribData::TGribData(bool keepRaw) : Mapping(std::make_unique<TMapping>()) {
  Mapping->SetKind(pkMercatorFull);
  Fields.push_back(std::make_unique<TDataStuff>(this, keepRaw));
  Current = Fields.back().get();
}

TGribData::~TGribData() = default;

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

bool TGribData::LoadFromStream(std::span<const std::uint8_t> stream, bool exactLength) {
  Current->Available.Clear();
  Current->FileName = FileName;
  messageLength_ = 0;
  bool ok = false;
  try {
    const TIdlePriorityScope priority(LowerPriority);
    const TWaitCursor waitCursor;
    TMessageDecoder decoder(*this, stream);
    Edition = decoder.FindEdition();
    if (Edition == 1)
      ok = decoder.DecodeEdition1();
    else if (Edition == 2)
      ok = decoder.DecodeEdition2(exactLength);
    else
      Log.append(Edition == 0 ? QStringLiteral("No GRIB message at the start of the data")
                              : QStringLiteral("Unsupported GRIB edition %1").arg(Edition));
    messageLength_ = decoder.MessageLength();
  } catch (const std::exception& error) {
    // Only allocation can throw here.
    Log.append(QStringLiteral("Decoding stopped: %1").arg(QString::fromUtf8(error.what())));
    ok = false;
  }
  Current = Fields.back().get();
  return ok && Current->Bitmap.Height() > 0;
}
