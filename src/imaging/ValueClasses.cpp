#include "imaging/ValueClasses.h"

#include <array>

namespace {

constexpr auto kConcentration = std::to_array<TLabelData>({
    {101, 80, 80, 80, "Land"},
    {0, 0, 0, 255, "Open water"},
    {5, 0, 200, 0, "5 - 9%"},
    {10, 128, 255, 0, "10 - 19%"},
    {20, 255, 255, 0, "20 - 29%"},
    {30, 205, 176, 0, "30 - 39%"},
    {40, 200, 128, 0, "40 - 49%"},
    {50, 205, 50, 0, "50 - 59%"},
    {60, 255, 0, 0, "60 - 69%"},
    {70, 255, 0, 150, "70 - 79%"},
    {80, 255, 32, 255, "80 - 89%"},
    {90, 150, 32, 255, "90 - 100%"},
});

constexpr TLabelData kLand{9, 80, 80, 80, "Land"};
constexpr TLabelData kUnclassified{10, 0, 0, 128, "Unclassified"};
constexpr TLabelData kOpenWater{1, 0, 0, 255, "Open water"};

constexpr auto kEdge = std::to_array<TLabelData>({
    kLand,
    kOpenWater,
    {2, 155, 155, 155, "Open ice"},
    {3, 255, 255, 255, "Closed ice"},
});

constexpr auto kEdgeExtended = std::to_array<TLabelData>({
    kLand,
    kUnclassified,
    kOpenWater,
    {2, 155, 155, 155, "Open ice"},
    {3, 255, 255, 255, "Closed ice"},
});

constexpr auto kType = std::to_array<TLabelData>({
    kLand,
    kOpenWater,
    {2, 155, 155, 155, "First year ice"},
    {3, 255, 255, 255, "Multi year ice"},
    {4, 255, 0, 255, "Ambiguous"},
});

constexpr auto kTypeExtended = std::to_array<TLabelData>({
    kLand,
    kUnclassified,
    kOpenWater,
    {2, 155, 155, 155, "First year ice"},
    {3, 255, 255, 255, "Multi year ice"},
    {4, 255, 0, 255, "Ambiguous"},
});

constexpr auto kConfidence = std::to_array<TLabelData>({
    {0, 64, 64, 64, "Bad"},
    {1, 255, 128, 128, "Suspect"},
    {2, 255, 255, 128, "Acceptable"},
    {3, 128, 255, 128, "Excellent"},
});

constexpr auto kCloudMask = std::to_array<TLabelData>({
    {0, 40, 48, 40, "OK"},
    {1, 32, 127, 127, "fog"},
    {2, 0, 127, 127, "bad quality"},
    {3, 0, 0, 0, "bad quality"},
});

constexpr auto kClearCloud = std::to_array<TLabelData>({
    {0, 0, 32, 96, "Clear over water"},
    {1, 32, 96, 0, "Clear over land"},
    {2, 200, 200, 200, "Cloud"},
    {3, 0, 0, 0, "no data"},
});

constexpr auto kFire = std::to_array<TLabelData>({
    {0, 32, 32, 32, "No fire"},
    {1, 240, 255, 32, "Possible fire detected"},
    {2, 255, 96, 16, "Probable fire detected"},
    {3, 16, 16, 16, "N/A"},
});

constexpr auto kSurface = std::to_array<TLabelData>({
    {0, 0, 0, 0, "n/a"},
    {1, 0, 64, 0, "Evergreen needleleaf forest"},
    {2, 0, 64, 0, "Evergreen broadleaf forest"},
    {3, 0, 96, 0, "Deciduous needleleaf forest"},
    {4, 0, 96, 0, "Deciduous broadleaf forest"},
    {5, 0, 128, 0, "Mixed deciduous forest"},
    {6, 32, 96, 0, "Closed shrubland"},
    {7, 32, 96, 0, "Open shrubland"},
    {8, 96, 96, 0, "Woody savannah"},
    {9, 128, 96, 0, "Savannah"},
    {10, 32, 128, 0, "Grassland"},
    {11, 0, 96, 64, "Permanent wetland"},
    {12, 32, 96, 64, "Cropland"},
    {13, 0, 32, 64, "Urban"},
    {14, 32, 96, 32, "Crop/natural vegetation mosaic"},
    {15, 216, 216, 216, "Permanent snow/ice"},
    {16, 160, 160, 0, "Barren/desert"},
    {17, 0, 32, 96, "Water bodies"},
    {18, 0, 128, 128, "Tundra"},
    {97, 220, 255, 220, "Snow/ice over land"},
    {98, 220, 220, 255, "Snow/ice over water"},
    {99, 255, 255, 128, "Clear sunlight"},
    {101, 190, 190, 160, "Low-level cloud; Fog or Stratus"},
    {102, 160, 190, 190, "Low-level cloud; Cumulus or Stratocumulus"},
    {103, 190, 190, 190, "Low-level cloud; unknown type"},
    {104, 210, 210, 190, "Mid-level cloud; Nimbostratus"},
    {105, 190, 210, 210, "Mid-level cloud; Altocumulus or Altostratus"},
    {106, 210, 210, 210, "Mid-level cloud; unknown type"},
    {107, 230, 230, 210, "High-level cloud; Cumulonimbus"},
    {108, 210, 230, 230, "High-level cloud; Cirrus"},
    {109, 230, 230, 230, "High-level cloud; unknown type"},
    {110, 250, 250, 250, "Unknown cloud type"},
});

}  // namespace

TClassTable ConcentrationClasses() { return kConcentration; }
TClassTable EdgeClasses() { return kEdge; }
TClassTable EdgeClassesExtended() { return kEdgeExtended; }
TClassTable TypeClasses() { return kType; }
TClassTable TypeClassesExtended() { return kTypeExtended; }
TClassTable ConfidenceClasses() { return kConfidence; }
TClassTable CloudMaskClasses() { return kCloudMask; }
TClassTable ClearCloudClasses() { return kClearCloud; }
TClassTable FireClasses() { return kFire; }
TClassTable SurfaceClasses() { return kSurface; }
