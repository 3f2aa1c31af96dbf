#include <gtest/gtest.h>

#include "lumex/messages.h"

namespace {
Parm make(int32_t type) {
  Parm p{};
  p.type = type;
  return p;
}
}  // namespace

TEST(Parm, CompareNeedsTheSameTagAndValue) {
  Parm i5 = make(LMX_PARM_INT), l5 = make(LMX_PARM_LONG), i6 = make(LMX_PARM_INT);
  i5.value.i = 5;
  l5.value.l = 5;
  i6.value.i = 6;
  EXPECT_TRUE(LmxCmpParms(nullptr, nullptr));
  EXPECT_FALSE(LmxCmpParms(&i5, nullptr));
  EXPECT_FALSE(LmxCmpParms(nullptr, &i5));
  EXPECT_FALSE(LmxCmpParms(&i5, &l5));
  EXPECT_FALSE(LmxCmpParms(&i5, &i6));
  EXPECT_TRUE(LmxCmpParms(&i5, &i5));

  char a[] = "same", b[] = "same";
  Parm s1 = make(LMX_PARM_STRING), s2 = make(LMX_PARM_STRING), none = make(LMX_PARM_STRING);
  s1.value.s = a;
  s2.value.s = b;
  EXPECT_TRUE(LmxCmpParms(&s1, &s2));
  EXPECT_FALSE(LmxCmpParms(&s1, &none));
  EXPECT_TRUE(LmxCmpParms(&none, &none));

  Parm f1 = make(LMX_PARM_FLOAT), f2 = make(LMX_PARM_FLOAT);
  f1.value.f = 0.5f;
  f2.value.f = 0.5f;
  EXPECT_TRUE(LmxCmpParms(&f1, &f2));
  Parm d = make(LMX_PARM_DOUBLE);
  d.value.d = 0.5;
  EXPECT_FALSE(LmxCmpParms(&f1, &d));

  Parm bad1 = make(500), bad2 = make(500);
  EXPECT_FALSE(LmxCmpParms(&bad1, &bad2));  // an invalid tag never matches
}

TEST(Parm, CopyOwnsItsString) {
  char text[] = "value";
  Parm s = make(LMX_PARM_STRING);
  s.value.s = text;
  Parm *copy = LmxCopyParm(&s);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy->value.s, text);
  text[0] = 'X';
  EXPECT_STREQ(copy->value.s, "value");
  LmxFreeParm(copy);

  Parm c = make(LMX_PARM_CHAR);
  c.value.c = 'q';
  copy = LmxCopyParm(&c);
  EXPECT_TRUE(LmxCmpParms(copy, &c));
  LmxFreeParm(copy);

  Parm nullString = make(LMX_PARM_STRING);
  copy = LmxCopyParm(&nullString);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->value.s, nullptr);
  LmxFreeParm(copy);

  Parm bad = make(999);
  copy = LmxCopyParm(&bad);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->type, 999);
  LmxFreeParm(copy);
  EXPECT_EQ(LmxCopyParm(nullptr), nullptr);
  LmxFreeParm(nullptr);
}
