#include <gtest/gtest.h>
#include "plugin/xfm.h"
TEST(Smoke, Query) { XfmInfo info; EXPECT_EQ(QueryXfm(&info), 0x480); }
