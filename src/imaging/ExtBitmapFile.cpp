#include "imaging/ExtBitmapFile.h"

#include <QDir>
#include <QFileDevice>
#include <QSaveFile>

void WriteAll(QIODevice& device, std::span<const std::uint8_t> bytes)
{
  const auto size = static_cast<qint64>(bytes.size());
  if (size == 0)
    return;
  if (device.write(reinterpret_cast<const char*>(bytes.data()), size) != size)
    throw EImageError(QStringLiteral("Cannot write the picture: %1").arg(device.errorString()).toStdString());
}

void FlushDevice(QIODevice& device)
{
  auto* file = qobject_cast<QFileDevice*>(&device);
  if (file && !file->flush())
    throw EImageError(QStringLiteral("Cannot write the picture: %1").arg(device.errorString()).toStdString());
}

void SaveThroughTemporaryFile(const QString& fileName, const std::function<void(QIODevice&)>& write)
{
  const QString shown = QDir::toNativeSeparators(fileName);
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly))
    throw EImageError(QStringLiteral("Cannot create %1: %2").arg(shown, file.errorString()).toStdString());
  try {
    write(file);
  } catch (const EImageError& e) {
    const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : QString::fromStdString(e.what());
    file.cancelWriting();
    throw EImageError(QStringLiteral("Cannot write %1: %2").arg(shown, reason).toStdString());
  }
  if (!file.commit())
    throw EImageError(QStringLiteral("Cannot write %1: %2").arg(shown, file.errorString()).toStdString());
}

void CheckPictureSize(const TExtBitmap& bitmap, int maxSide)
{
  if (bitmap.Width() < 1 || bitmap.Height() < 1 || bitmap.Width() > maxSide || bitmap.Height() > maxSide)
    throw EImageError(QStringLiteral("Cannot save a picture of %1 x %2 pixels.")
                          .arg(bitmap.Width())
                          .arg(bitmap.Height())
                          .toStdString());
}
