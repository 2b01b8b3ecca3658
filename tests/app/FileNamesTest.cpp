// Rules on data-file names: markers, and sibling names of both namings and
// hemispheres.
#include "app/workflow/FileNames.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

struct MarkerCase {
  const char* name;
  bool quality, sst, multi;
};

const MarkerCase kMarkerCases[] = {
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

TEST(FileNameMarkers, ClassifyEveryKindOfName)
{
  for (const MarkerCase& c : kMarkerCases) {
    SCOPED_TRACE(c.name);
    const fs::path file = fs::path("/data/SAF/2009/01/01") / c.name;
    EXPECT_EQ(IsQualityFile(file), c.quality);
    EXPECT_EQ(IsSstFile(file), c.sst);
    EXPECT_EQ(IsMultiMessageFile(file), c.multi);
  }
  // Folder names do not count.
  EXPECT_FALSE(IsQualityFile("/data/x_Q-2/NH_CONC_20090101.grb"));
  EXPECT_FALSE(IsSstFile("/data/SST_FIELD-/NH_CONC_20090101.grb"));
}

struct SiblingCase {
  const char* opened;
  const char* concentration;
  const char* edge;
  const char* type;
};

const SiblingCase kSiblingCases[] = {
  // Current naming, both hemispheres.
  {"S-OSI_-NOR_-MULT-NH_CONC__-200901011200Z.grb", "S-OSI_-NOR_-MULT-NH_CONC__-200901011200Z.grb",
   "S-OSI_-NOR_-MULT-NH_EDGE__-200901011200Z.grb", "S-OSI_-NOR_-MULT-NH_TYPE__-200901011200Z.grb"},
  {"S-OSI_-NOR_-MULT-SH_EDGE__-200901011200Z.grb.gz",
   "S-OSI_-NOR_-MULT-SH_CONC__-200901011200Z.grb.gz",
   "S-OSI_-NOR_-MULT-SH_EDGE__-200901011200Z.grb.gz",
   "S-OSI_-NOR_-MULT-SH_TYPE__-200901011200Z.grb.gz"},
  // Older naming.
  {"NH_CONC_20090101.grb", "NH_CONC_20090101.grb", "NH_EDGE_20090101.grb", "NH_TYPE_20090101.grb"},
  {"ice_type_sh_201101011200.grb", "ice_CONC_sh_201101011200.grb", "ice_EDGE_sh_201101011200.grb",
   "ice_TYPE_sh_201101011200.grb"},
  // Multi-product concentration file: the siblings use the plain naming.
  {"ice_conc_nh_polstere-100_multi_201101011200.grb",
   "ice_conc_nh_polstere-100_multi_201101011200.grb", "ice_EDGE_NH_201101011200.grb",
   "ice_TYPE_NH_201101011200.grb"},
};

TEST(SeaIceSiblings, DeriveAllThreeNamesFromAnyOne)
{
  for (const SiblingCase& c : kSiblingCases) {
    SCOPED_TRACE(c.opened);
    const TSeaIceNames names = SeaIceSiblingNames(c.opened);
    EXPECT_EQ(names.concentration, c.concentration);
    EXPECT_EQ(names.edge, c.edge);
    EXPECT_EQ(names.type, c.type);
  }
}

}  // namespace
