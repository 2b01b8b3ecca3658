#include "app/workflow/FileNames.h"

#include "app/workflow/FileSearch.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <system_error>

namespace fs = std::filesystem;

namespace {

char UpperAscii(char c)
{
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

std::string Upper(std::string_view s)
{
  std::string result(s);
  std::transform(result.begin(), result.end(), result.begin(), UpperAscii);
  return result;
}

bool Contains(const std::string& upper, std::string_view marker)
{
  return upper.find(marker) != std::string::npos;
}

bool StartsWith(const std::string& upper, std::string_view marker)
{
  return upper.starts_with(marker);
}

std::string FileNameText(const fs::path& file) { return file.filename().string(); }

}  // namespace

std::string UpperFileName(const fs::path& file) { return Upper(FileNameText(file)); }

bool IsQualityFile(const fs::path& file) { return Contains(UpperFileName(file), "_Q-2"); }

bool IsSstFile(const fs::path& file)
{
  const std::string name = UpperFileName(file);
  return Contains(name, "-MULT-MAPSST_FIELD-") || Contains(name, "SST_FIELD-") ||
         StartsWith(name, "SST12HL") || Contains(name, "_GHRSST-SST");
}

bool IsMultiMessageFile(const fs::path& file)
{
  const std::string name = UpperFileName(file);
  return StartsWith(name, "S-OSI_-DMI_-MULT-GL_") || Contains(name, "H_POLSTERE-100_MULTI_");
}

std::string ReplaceFirstNoCase(std::string_view s, std::string_view from, std::string_view to)
{
  std::string result(s);
  if (from.empty()) {
    return result;
  }
  const std::size_t at = Upper(s).find(Upper(from));
  if (at != std::string::npos) {
    result.replace(at, from.size(), to);
  }
  return result;
}

TSeaIceNames SeaIceSiblingNames(std::string_view name)
{
  TSeaIceNames names;
  std::string running = ReplaceFirstNoCase(name, "_EDGE_", "_CONC_");
  running = ReplaceFirstNoCase(running, "_TYPE_", "_CONC_");
  names.concentration = running;
  running = ReplaceFirstNoCase(running, "_CONC_NH_POLSTERE-100_MULTI_", "_CONC_NH_");
  running = ReplaceFirstNoCase(running, "_CONC_SH_POLSTERE-100_MULTI_", "_CONC_SH_");
  running = ReplaceFirstNoCase(running, "_CONC_", "_EDGE_");
  names.edge = running;
  names.type = ReplaceFirstNoCase(running, "_EDGE_", "_TYPE_");
  return names;
}

std::string MultiProductConcentrationName(std::string_view name)
{
  std::string result = ReplaceFirstNoCase(name, "_CONC_NH_", "_CONC_NH_POLSTERE-100_MULTI_");
  return ReplaceFirstNoCase(result, "_CONC_SH_", "_CONC_SH_POLSTERE-100_MULTI_");
}

std::string MultiProductSiblingName(std::string_view name)
{
  constexpr std::string_view kMulti = "POLSTERE-100_MULTI_";
  std::string result(name);
  const std::string upper = Upper(name);
  for (const std::string_view marker : {"_EDGE_NH_", "_EDGE_SH_", "_TYPE_NH_", "_TYPE_SH_"}) {
    const std::size_t at = upper.find(marker);
    if (at == std::string::npos || upper.compare(at + marker.size(), kMulti.size(), kMulti) == 0) {
      continue;
    }
    // The inserted part follows the letter case of the name.
    std::string multi(kMulti);
    if (std::islower(static_cast<unsigned char>(result[at + 1]))) {
      std::transform(multi.begin(), multi.end(), multi.begin(),
                     [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    }
    result.insert(at + marker.size(), multi);
    break;
  }
  return result;
}

fs::path OtherCompression(const fs::path& file)
{
  const std::string name = FileNameText(file);
  const bool gzipped = Upper(file.extension().string()) == ".GZ";
  const std::string other = gzipped ? name.substr(0, name.size() - 3) : name + ".gz";
  return file.has_parent_path() ? file.parent_path() / other : fs::path(other);
}

std::string OlderStyleName(std::string_view name)
{
  std::string result = ReplaceFirstNoCase(name, "S-OSI_-NOR_-MULT-", "");
  result = ReplaceFirstNoCase(result, "__-", "_");
  return ReplaceFirstNoCase(result, "1200Z.grb", ".grb");
}

std::optional<fs::path> FindExistingFile(const fs::path& file)
{
  std::error_code error;
  if (file.empty()) {
    return std::nullopt;
  }
  if (fs::is_regular_file(file, error)) {
    return file;
  }
  // Names are matched ignoring case on every platform: the data-collection
  // program and the name rules do not agree on letter case.
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  const QString stored = StoredEntryName(QString::fromStdU16String(folder.u16string()),
                                         QString::fromStdU16String(file.filename().u16string()),
                                         QDir::Files | QDir::Hidden | QDir::System);
  if (stored.isEmpty()) {
    return std::nullopt;
  }
  const fs::path name(stored.toStdU16String());
  return file.has_parent_path() ? folder / name : name;
}

std::optional<fs::path> FindDataFile(const fs::path& file)
{
  if (auto existing = FindExistingFile(file)) {
    return existing;
  }
  if (file.empty() || FileNameText(file).empty()) {
    return std::nullopt;
  }
  return FindExistingFile(OtherCompression(file));
}

fs::path ResolveDataFileName(const fs::path& file)
{
  if (auto existing = FindDataFile(file)) {
    return *existing;
  }
  const fs::path older = file.parent_path() / OlderStyleName(FileNameText(file));
  if (auto existing = FindDataFile(older)) {
    return *existing;
  }
  return file;
}

fs::path ResolveSiblingFileName(const fs::path& file)
{
  const fs::path resolved = ResolveDataFileName(file);
  if (FindDataFile(resolved)) {
    return resolved;
  }
  const fs::path longName = file.parent_path() / MultiProductSiblingName(FileNameText(file));
  if (auto existing = FindDataFile(longName)) {
    return *existing;
  }
  return file;
}
