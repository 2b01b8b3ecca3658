#include "app/workflow/Saving.h"

#include <QDir>
#include <QFileInfo>

#include <exception>

#include "app/workflow/Animation.h"
#include "app/workflow/Products.h"
#include "app/workflow/Workflow.h"
#include "grib/GribData.h"
#include "imaging/Canvas.h"
#include "imaging/GifImage.h"
#include "imaging/PngImage.h"
#include "mapping/Mapping.h"
#include "overlays/CartogList.h"
#include "overlays/Graticule.h"

namespace {

void WritePicture(const TExtBitmap& picture, const QString& fileName)
{
  if (IsGifFileName(fileName)) {
    SaveBitmapAsGif(picture, fileName);
  } else {
    SavePng(picture, fileName, kPngAuthor, kPngTitle, kPngSoftware, kPngDescription);
  }
}

}  // namespace

QString DefaultPictureName(int product, bool asGif)
{
  if (product < 0 || product >= kProductCount) {
    return {};
  }
  const std::string_view base = kProductBaseNames[static_cast<std::size_t>(product)];
  return QString::fromLatin1(base.data(), static_cast<qsizetype>(base.size())) + (asGif ? ".gif" : ".png");
}

namespace {

// "-nh" or "-sh" for a sea-ice product, nothing for SST.
QString HemisphereSuffix(int product, const TGribData& data)
{
  if (product == prSst || data.Mapping == nullptr) {
    return {};
  }
  return data.Mapping->Southern() ? QStringLiteral("-sh") : QStringLiteral("-nh");
}

}  // namespace

QString DatedPictureName(int product, const TGribData& data, bool asGif)
{
  if (product < 0 || product >= kProductCount) {
    return {};
  }
  const std::string_view base = kProductBaseNames[static_cast<std::size_t>(product)];
  return QString::fromLatin1(base.data(), static_cast<qsizetype>(base.size())) + HemisphereSuffix(product, data) +
         "-" + data.ReferenceTime.toUTC().date().toString("yyyyMMdd") + (asGif ? ".gif" : ".png");
}

QString DatedAnimationName(int product, const TGribData& data)
{
  QString name = AnimationFileName(product);
  const QString suffix = HemisphereSuffix(product, data);
  if (!suffix.isEmpty()) {
    name.replace(QStringLiteral("-anim.gif"), suffix + QStringLiteral("-anim.gif"));
  }
  return name;
}

QString JoinFolder(const QString& folder, const QString& name)
{
  if (folder.isEmpty()) {
    return name;
  }
  const bool separated = folder.endsWith('/') || folder.endsWith(QDir::separator());
  return QDir::toNativeSeparators(separated ? folder + name : folder + QDir::separator() + name);
}

QString DefaultPicturePath(const QString& dataFolder, int product, bool asGif)
{
  return JoinFolder(dataFolder, DefaultPictureName(product, asGif));
}

bool IsGifFileName(const QString& fileName)
{
  return QFileInfo(fileName).fileName().toUpper().endsWith(".GIF");
}

TExtBitmap ComposeSavedPicture(TWorkflow& workflow, const TExtBitmap& bitmap, const TMapping& mapping,
                               const TGribData* data, const TSaveOverlays& overlays)
{
  TExtBitmap picture;
  picture.Assign(bitmap);
  if (!overlays.WithOverlay) {
    return picture;
  }
  workflow.DrawOverlays(picture, mapping, data, overlays.ShowGrid, overlays.ShowBoundaries);
  return picture;
}

TSaveResult SaveProductImage(TWorkflow& workflow, const TExtBitmap& bitmap, const TMapping& mapping,
                             const TGribData* data, const QString& fileName, const TSaveOverlays& overlays)
{
  TSaveResult result;
  result.FileName = QDir::toNativeSeparators(fileName);
  if (fileName.isEmpty()) {
    result.Error = "No file name was given for the picture.";
    return result;
  }
  try {
    WritePicture(ComposeSavedPicture(workflow, bitmap, mapping, data, overlays), fileName);
    result.Written = true;
  } catch (const std::exception& error) {
    result.Error = QString::fromLocal8Bit(error.what());
  } catch (...) {
    result.Error = QString("Cannot write %1.").arg(result.FileName);
  }
  return result;
}

TSaveResult SaveProductPicture(TWorkflow& workflow, int product, const QString& fileName,
                               const TSaveOverlays& overlays)
{
  const TGribData* data = workflow.Data(product);
  if (data == nullptr || data->Current == nullptr || data->Mapping == nullptr) {
    TSaveResult result;
    result.FileName = QDir::toNativeSeparators(fileName);
    result.Error = "There is no picture to save: the product is not loaded.";
    return result;
  }
  return SaveProductImage(workflow, data->Bitmap(), *data->Mapping, data, fileName, overlays);
}
