#include "common/office_product_code.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

TEST(OfficeProductCode, EveryMajorVersionButOffice2010sIsAnotherOfficeInEveryForm) {
  for (const auto& [major, another] : {std::pair{"12", true}, {"14", false}, {"15", true}, {"16", true}}) {
    const std::string braced = std::string("{90") + major + "0000-0011-0000-1000-0000000FF1CE}";
    const std::string packed = std::string("0000") + major[1] + major[0] + "09110000000100000000F01FEC";
    for (const std::string& name : {braced, braced + "-C", "Uninstall\\" + braced, packed}) {
      EXPECT_EQ(BelongsToAnotherOffice(name), another) << name;
    }
  }
  EXPECT_TRUE(BelongsToAnotherOffice("{90160000-008c-0000-0000-0000000ff1ce}"));
  EXPECT_TRUE(BelongsToAnotherOffice("00006109c80000000000000000f01fec"));
}

TEST(OfficeProductCode, NamesThatOnlyLookLikeOneAreNot) {
  for (const char* name : {"{90160000-0011-0000-1000-0000000FF1CE}.old", "0FF1CE.Office16.PROPLUS",
                           "Office16 0000000FF1CE}", "{9016000-0011-0000-1000-0000000FF1CE}",
                           "{900160000-0011-0000-1000-0000000FF1CE}", "000061091100000001000000000F01FEC",
                           "{80160000-0011-0000-1000-0000000FF1CE}", "{90160000-0011-0000-1000-0000001FF1CE}",
                           "{90160000+0011-0000-1000-0000000FF1CE}", "1011C000000000000000000000F01FEC", "F01FEC"}) {
    EXPECT_FALSE(BelongsToAnotherOffice(name)) << name;
  }
}

}  // namespace
}  // namespace kelvane
