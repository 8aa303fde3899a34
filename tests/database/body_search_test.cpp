#include "database/body_search.h"

#include <gtest/gtest.h>

#include "database/element_import.h"
#include "support/temp_home.h"

namespace kestrova {
namespace {

namespace fs = std::filesystem;

TEST(UnpackProvisionalDesignation, PackedAndOtherTexts) {
  struct Case {
    const char* packed;
    const char* readable;
  };
  for (const Case& c :
       {Case{"K24A01B", "2024 AB1"}, Case{"J95X00A", "1995 XA"}, Case{"K07Tf8A", "2007 TA418"},
        Case{"I98Q12C", "1898 QC12"}, Case{"K24A01", ""}, Case{"L24A01B", ""}, Case{"K24I01B", ""},
        Case{"k24a01b", ""}, Case{"Ceres", ""}})
    EXPECT_EQ(UnpackProvisionalDesignation(c.packed), c.readable) << c.packed;
}

// The browser's search in an imported extract of the minor-planet file, whose names the import
// writes as "(1) Ceres" and designations as "2024 AB1", by the name index.
class BodySearchTest : public testing::TempHome {
 protected:
  void SetUp() override {
    TempHome::SetUp();
    TImportOptions o;
    o.Format = TElementFormat::Mpcorb;
    o.Alias = alias_;
    o.Table = "small";
    ImportElements(fs::path(KESTROVA_TEST_DATA) / "mpcorb_small.dat", o);
    table_.SetDatabase(alias_);
    table_.SetTableName("small.db");
    table_.Open();
    table_.SetIndexName("IDXNAME");
  }
  TableStore table_;
};

TEST_F(BodySearchTest, ByNameNumberAndDesignation) {
  struct Case {
    const char* text;
    const char* name;  // nullptr: nothing matches
  };
  for (const Case& c : {
           // Names without their number, in any letter case, and with it.
           Case{"Ceres", "(1) Ceres"},
           Case{"ceres", "(1) Ceres"},
           Case{" HEKTOR ", "(624) Hektor"},
           Case{"(433) eros", "(433) Eros"},
           // Numbers, bare or in parentheses; 136199 is packed as D6199 in the file.
           Case{"433", "(433) Eros"},
           Case{"(1862)", "(1862) Apollo"},
           Case{"136199", "(136199) Eris"},
           // Provisional designations, readable or packed.
           Case{"2024 ab1", "2024 AB1"},
           Case{"K24A01B", "2024 AB1"},
           // The beginning of a name as indexed: the nearest row on, as ever.
           Case{"(1", "(1) Ceres"},
           Case{"(18", "(1862) Apollo"},
           Case{"", "(1) Ceres"},
           // The beginning of a name in any case, without its number.
           Case{"apol", "(1862) Apollo"},
           Case{"Er", "(136199) Eris"},
           // Nothing of that name, number or beginning.
           Case{"Vesta", nullptr},
           Case{"4", nullptr},
           Case{"zz", nullptr},
           Case{"%", nullptr},
       }) {
    const bool found = FindMinorBody(table_, c.text);
    EXPECT_EQ(found, c.name != nullptr) << c.text;
    if (found && c.name) {
      EXPECT_EQ(table_.FieldAsString("NAME"), c.name) << c.text;
    }
  }
}

}  // namespace
}  // namespace kestrova
