#include "overlays/CartogDefaultFile.h"

#include <QCoreApplication>
#include <QDir>
#include <filesystem>
#include <system_error>

#include "settings/SettingsStore.h"

namespace {
bool IsFile(const std::string& path)
{
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(std::filesystem::u8path(path), ec);
}

std::string ExecutableFolder()
{
  if (QCoreApplication::instance() == nullptr) return {};
  return QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + '/').toStdString();
}
}  // namespace

std::string TrakwiseExecutablePath()
{
  return ReadAppPath(QStringLiteral("Trakwise")).toStdString();
}

std::string FolderOfPath(const std::string& path)
{
  const auto cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string FindBoundaryFile()
{
  const std::string own = ExecutableFolder();
  if (!own.empty() && IsFile(own + kBoundaryFileName)) return own + kBoundaryFileName;
  const std::string trakwise = TrakwiseExecutablePath();
  const std::string folder = FolderOfPath(trakwise);
  if (!folder.empty()) {
    const std::string candidate = folder + kBoundaryFileName;
    if (IsFile(candidate)) return candidate;
  }
  return {};
}
