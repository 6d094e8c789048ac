#include <gtest/gtest.h>

#include "core/dates.h"
#include "core/error.h"
#include "support/errors.h"

namespace {

CQDate D(int d, int m, int y) {
  CQDate date;
  date.day = d;
  date.month = m;
  date.year = y;
  return date;
}

TEST(Dates, DayOfYear) {
  const struct {
    int doy, year, day, month;
  } table[] = {{60, 2024, 29, 2}, {60, 2023, 1, 3}, {366, 2023, 31, 12}, {1, 2023, 1, 1},
               {365, 2024, 30, 12}, {0, 2023, 0, 1}, {400, 2023, 31, 12}};
  for (const auto& row : table) {
    CQDate d;
    d.SetFromDayOfYear(row.doy, row.year);
    EXPECT_EQ(d, D(row.day, row.month, row.year)) << row.doy << "/" << row.year;
  }
  CQDate zeroDay;
  zeroDay.SetFromDayOfYear(0, 2023);
  EXPECT_FALSE(zeroDay.IsValid());
  CQDate untouched = D(5, 6, 2020);
  untouched.SetFromDayOfYear(-1, 2023);
  EXPECT_EQ(untouched, D(5, 6, 2020));
}

TEST(Dates, ValidityAndLeapDays) {
  EXPECT_TRUE(D(29, 2, 1900).IsValid());  // every year divisible by 4 leaps here
  EXPECT_TRUE(D(29, 2, 2024).IsValid());
  EXPECT_FALSE(D(29, 2, 2023).IsValid());
  EXPECT_FALSE(D(31, 4, 2023).IsValid());
  EXPECT_FALSE(D(1, 13, 2023).IsValid());
  EXPECT_FALSE(D(1, 1, 0).IsValid());
  EXPECT_FALSE(D(0, 0, 0).IsValid());
}

TEST(Dates, Normalize) {
  const struct {
    CQDate in, out;
  } table[] = {
      {D(32, 1, 2023), D(1, 2, 2023)}, {D(0, 3, 2024), D(29, 2, 2024)}, {D(0, 3, 2023), D(28, 2, 2023)},
      {D(1, 13, 2023), D(1, 1, 2024)}, {D(0, 0, 0), D(0, 0, 0)},        {D(0, 1, 2024), D(31, 12, 2023)},
      {D(0, 2, 2023), D(31, 1, 2023)}, {D(100, 1, 2023), D(10, 4, 2023)}, {D(-30, 3, 2023), D(29, 1, 2023)},
      {D(15, 0, 2023), D(15, 12, 2022)}, {D(0, 1, 1), D(31, 12, 1)},
  };
  for (const auto& row : table) {
    CQDate d = row.in;
    d.Normalize();
    EXPECT_EQ(d, row.out) << row.in.day << "-" << row.in.month << "-" << row.in.year;
  }
}

TEST(Dates, NormalizeTimeOfDay) {
  CQDateTime t;
  t.hour = 23, t.minute = 59, t.second = 60.5;
  EXPECT_EQ(NormalizeTimeOfDay(t), 1);
  EXPECT_EQ(t.hour, 0);
  EXPECT_EQ(t.minute, 0);
  EXPECT_NEAR(t.second, 0.5, 1e-12);

  CQDateTime u;
  u.second = -1;
  EXPECT_EQ(NormalizeTimeOfDay(u), -1);
  EXPECT_EQ(u.hour, 23);
  EXPECT_EQ(u.minute, 59);
  EXPECT_EQ(u.second, 59);

  CQDateTime w;
  w.hour = 50;
  EXPECT_EQ(NormalizeTimeOfDay(w), 2);
  EXPECT_EQ(w.hour, 2);
}

TEST(Dates, SetCopiesAndRejectsNull) {
  CQDateTime a;
  a.day = 3, a.month = 3, a.year = 2025, a.hour = 14, a.minute = 5, a.second = 9.25;
  CQDateTime b;
  b.Set(&a);
  EXPECT_EQ(a, b);
  EXPECT_TRUE(lv_test::ThrowsError([&] { b.Set(nullptr); }, "Null pointer to input date and time.",
                                   "CQDateTime::Set\n"));
}

}  // namespace
