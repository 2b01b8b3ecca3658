#pragma once
// Rules on data-file names: which kind of file a name stands for, and how the
// names of the sibling products of one date are derived from each other.
// Every test works on the name without its folder and ignores case.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Upper-cased file name without its folder.
std::string UpperFileName(const std::filesystem::path& file);

bool IsQualityFile(const std::filesystem::path& file);
bool IsSstFile(const std::filesystem::path& file);
// Files that can hold the concentration field behind one or two other fields.
bool IsMultiMessageFile(const std::filesystem::path& file);

// s with the first occurrence of `from` (compared ignoring ASCII case) replaced
// by `to`; s unchanged when there is none.
std::string ReplaceFirstNoCase(std::string_view s, std::string_view from, std::string_view to);

// Names of the three sea-ice products of the same date and hemisphere as the
// sea-ice file `name` (file names without folder; not checked on disk).
struct TSeaIceNames {
  std::string concentration;
  std::string edge;
  std::string type;
};
TSeaIceNames SeaIceSiblingNames(std::string_view name);

// The multi-product naming of a concentration file ("_CONC_NH_" becomes
// "_CONC_NH_POLSTERE-100_MULTI_", likewise for the south).
std::string MultiProductConcentrationName(std::string_view name);

// The multi-product naming of an edge or type file ("_EDGE_NH_" becomes
// "_EDGE_NH_POLSTERE-100_MULTI_", likewise for "_TYPE_" and the south): the
// long names these products also come under.
std::string MultiProductSiblingName(std::string_view name);

// The same name with ".gz" added, or removed when it ends in ".gz".
std::filesystem::path OtherCompression(const std::filesystem::path& file);

// The older naming of a current-style file name.
std::string OlderStyleName(std::string_view name);

// The file as it is stored on disk when a file of that name exists, with the
// file name (not the folders) compared ignoring case.
std::optional<std::filesystem::path> FindExistingFile(const std::filesystem::path& file);

// The file as stored on disk under its own name, else under the name with
// ".gz" added or removed: whether a day was stored compressed does not
// hide it.
std::optional<std::filesystem::path> FindDataFile(const std::filesystem::path& file);

// The existing file for `file`: itself, else its older-style name (either
// of them also with ".gz" added or removed), else `file` unchanged.
std::filesystem::path ResolveDataFileName(const std::filesystem::path& file);

// The existing file for an edge or type sibling: as ResolveDataFileName,
// else its multi-product name when that exists, else `file` unchanged.
std::filesystem::path ResolveSiblingFileName(const std::filesystem::path& file);
