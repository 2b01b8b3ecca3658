// Rules on data-file names: markers, and sibling names of both namings and
// hemispheres.
#include "app/workflow/FileNames.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>

namespace fs = std::filesystem;

namespace {

TEST(FileNameMarkers, ClassifyEveryKindOfName)
{
  const struct {
    const char* name;
    bool quality, sst, multi;
  } cases[] = {
  {"S-OSI_-NOR_-MULT-NH_CONC__-200901011200Z.grb", false, false, false},
  {"S-OSI_-NOR_-MULT-NH_CONC__-200901011200Z.grb.gz", false, false, false},
  {"S-OSI_-NOR_-MULT-NH_CONC_Q-200901011200Z.grb", true, false, false},
  {"s-osi_-nor_-mult-nh_conc_q-200901011200z.grb", true, false, false},
  {"S-OSI_-FRA_-MULT-MAPSST_FIELD-200901011200Z.grb.gz", false, true, false},
  {"sst_field-20090101.grb", false, true, false},
  {"sst12hl_20090101.grb", false, true, false},
  {"x_sst12hl_20090101.grb", false, false, false},  // a prefix test, not a substring one
  {"S-OSI_-DMI_-MULT-GL_SST_FIELD-20090101.grb", false, true, true},
  {"ice_conc_nh_polstere-100_multi_201101011200.grb", false, false, true},
  {"ice_conc_sh_polstere-100_multi_201101011200.grb.GZ", false, false, true},
  {"multi_conc_20090101.grb", false, false, false},
  };
  for (const auto& c : cases) {
    const fs::path file = fs::path("/data/SAF/2009/01/01") / c.name;
    EXPECT_EQ(std::tuple(IsQualityFile(file), IsSstFile(file), IsMultiMessageFile(file)),
              std::tuple(c.quality, c.sst, c.multi)) << c.name;
  }
  // Folder names do not count.
  EXPECT_FALSE(IsQualityFile("/data/x_Q-2/NH_CONC_20090101.grb"));
  EXPECT_FALSE(IsSstFile("/data/SST_FIELD-/NH_CONC_20090101.grb"));
}

// The names are given as the opened one, then the concentration, edge and
// type siblings.
TEST(SeaIceSiblings, DeriveAllThreeNamesFromAnyOne)
{
  const std::array<const char*, 4> cases[] = {
    // Current naming, both hemispheres.
    {"S-OSI_-NOR_-MULT-NH_CONC__-200901011200Z.grb", "S-OSI_-NOR_-MULT-NH_CONC__-200901011200Z.grb",
     "S-OSI_-NOR_-MULT-NH_EDGE__-200901011200Z.grb", "S-OSI_-NOR_-MULT-NH_TYPE__-200901011200Z.grb"},
    {"S-OSI_-NOR_-MULT-SH_EDGE__-200901011200Z.grb.gz", "S-OSI_-NOR_-MULT-SH_CONC__-200901011200Z.grb.gz",
     "S-OSI_-NOR_-MULT-SH_EDGE__-200901011200Z.grb.gz", "S-OSI_-NOR_-MULT-SH_TYPE__-200901011200Z.grb.gz"},
    // Older naming.
    {"NH_CONC_20090101.grb", "NH_CONC_20090101.grb", "NH_EDGE_20090101.grb", "NH_TYPE_20090101.grb"},
    {"ice_type_sh_201101011200.grb", "ice_CONC_sh_201101011200.grb", "ice_EDGE_sh_201101011200.grb",
     "ice_TYPE_sh_201101011200.grb"},
    // Multi-product concentration file: the siblings use the plain naming.
    {"ice_conc_nh_polstere-100_multi_201101011200.grb", "ice_conc_nh_polstere-100_multi_201101011200.grb",
     "ice_EDGE_NH_201101011200.grb", "ice_TYPE_NH_201101011200.grb"},
  };
  for (const auto& [opened, concentration, edge, type] : cases) {
    const TSeaIceNames names = SeaIceSiblingNames(opened);
    EXPECT_EQ(std::tuple(names.concentration, names.edge, names.type),
              std::tuple(std::string(concentration), std::string(edge), std::string(type))) << opened;
  }
}

}  // namespace
