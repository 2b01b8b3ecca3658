#pragma once
// Where the boundary file "Countries.dat" is looked for.
#include <string>

inline constexpr const char* kBoundaryFileName = "Countries.dat";

// The executable recorded by the sibling program Trakwise, or empty.
std::string TrakwiseExecutablePath();

// Beside the program's own executable first, then beside Trakwise's;
// empty when neither holds the file.
std::string FindBoundaryFile();

// The folder part of a path as the registry records it: everything up to
// and including the last '\', '/' or ':'.
std::string FolderOfPath(const std::string& path);
