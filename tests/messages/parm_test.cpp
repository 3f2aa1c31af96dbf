#include <gtest/gtest.h>

#include "lumex/messages.h"

namespace {
Parm make(int32_t type, int32_t i = 0) {
  Parm p{type, {}};
  p.value.i = i;
  return p;
}
Parm str(char *s) {
  Parm p{LMX_PARM_STRING, {}};
  p.value.s = s;
  return p;
}
}  // namespace

TEST(Parm, CompareNeedsTheSameTagAndValue) {
  Parm i5 = make(LMX_PARM_INT, 5), l5 = make(LMX_PARM_LONG, 5), i6 = make(LMX_PARM_INT, 6);
  EXPECT_TRUE(LmxCmpParms(nullptr, nullptr));
  EXPECT_FALSE(LmxCmpParms(&i5, nullptr));
  EXPECT_FALSE(LmxCmpParms(&i5, &l5));
  EXPECT_FALSE(LmxCmpParms(&i5, &i6));
  char a[] = "same", b[] = "same";
  Parm s1 = str(a), s2 = str(b), none = str(nullptr);
  EXPECT_TRUE(LmxCmpParms(&s1, &s2));  // by text, not storage
  EXPECT_FALSE(LmxCmpParms(&s1, &none));
  EXPECT_TRUE(LmxCmpParms(&none, &none));
  Parm f = make(LMX_PARM_FLOAT), d = make(LMX_PARM_DOUBLE);
  f.value.f = 0.5f;
  d.value.d = 0.5;
  EXPECT_FALSE(LmxCmpParms(&f, &d));
  Parm bad = make(500);
  EXPECT_FALSE(LmxCmpParms(&bad, &bad));  // an invalid tag never matches
}

TEST(Parm, CopyOwnsItsString) {
  char text[] = "value";
  Parm s = str(text);
  Parm *copy = LmxCopyParm(&s);
  text[0] = 'X';
  EXPECT_STREQ(copy->value.s, "value");
  LmxFreeParm(copy);
  Parm none = str(nullptr);
  copy = LmxCopyParm(&none);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->value.s, nullptr);
  LmxFreeParm(copy);
  Parm bad = make(999, 1);
  copy = LmxCopyParm(&bad);
  EXPECT_EQ(copy->type, 999);
  LmxFreeParm(copy);
  EXPECT_EQ(LmxCopyParm(nullptr), nullptr);
}
