#include "codec/name_mapping.h"

#include <gtest/gtest.h>

TEST(MapCompressedName, EveryRowAndTheNamesNoRowKnows) {
  struct Row {
    const char *name, *installed;
  };
  const Row rows[] = {
      {"ADRESSEN.EX_", "ADRESSEN.EXE"},
      {"adressen.ex_", "adressen.EXE"},
      {"readme.tx_", "readme.TXT"},
      {"ADRESSEN.HL_", "ADRESSEN.HLP"},
      {"ADRHELP.DL_", "ADRHELP.DLL"},
      {"GRID.VB_", "GRID.VBX"},
      {"LISTE.RP_", "LISTE.RPT"},
      {"ZBT-WW8.DO_", "ZBT-WW8.DOC"},
      {"c:\\x\\Zbt-Ww8.Do_", "c:\\x\\Zbt-Ww8.DOC"},
      {"brief.do_", "brief.DOT"},
      {"beispiel.hd_", "beispiel.HDB"},
      {"FORM.EP_", "FORM.EPF"},
      {"werte.da_", "werte.DAT"},
      {"DATEN.XY_", "DATEN.XY_"},
      {"HILFE.H_", "HILFE.H_"},
      {"ADRESSEN.EXE", "ADRESSEN.EXE"},
      {"KEINPUNKT", "KEINPUNKT"},
      {"a.b.EX_", "a.b.EXE"},
      {"x.EX_Y", "x.EXE"},  // the extension only has to contain the code
  };
  for (const Row& r : rows) EXPECT_EQ(MapCompressedName(r.name), r.installed) << r.name;
}

TEST(MapCompressedName, CompressedMeansAnUnderscoreThirdAfterTheDot) {
  for (const char* name : {"A.EX_", "a.xy_", "b.c.DL_", "x.ab_c"}) EXPECT_TRUE(IsCompressedName(name)) << name;
  for (const char* name : {"HILFE.H_", "A.EXE", "A_", "A.E_X", "A._XX", ""}) EXPECT_FALSE(IsCompressedName(name)) << name;
}
