#include "core/dates.h"

#include "core/error.h"

namespace {
bool IsLeap(int year) { return year % 4 == 0; }
}  // namespace

int CQDate::DaysInMonth(int month, int year) {
  switch (month) {
    case 2:
      return IsLeap(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    default:
      return 31;
  }
}

void CQDate::SetFromDayOfYear(int dayOfYear, int yearIn) {
  if (dayOfYear < 0) {
    return;
  }
  year = yearIn;
  int d = dayOfYear;
  for (int m = 1; m <= 11; ++m) {
    // February counts 29 days only in a non-zero year divisible by 4.
    const int len = (m == 2) ? ((yearIn != 0 && yearIn % 4 == 0) ? 29 : 28) : DaysInMonth(m, yearIn);
    if (d <= len) {
      month = m;
      day = d;
      return;
    }
    d -= len;
  }
  month = 12;
  day = d > 31 ? 31 : d;
}

bool CQDate::IsValid() const {
  if (year <= 0 || month < 1 || month > 12 || day <= 0) {
    return false;
  }
  return day <= DaysInMonth(month, year);
}

void CQDate::Normalize() {
  if ((day == 0 && month == 0 && year == 0) || IsValid()) {
    return;
  }
  while (!IsValid()) {
    while (month < 1) {
      month += 12;
      --year;
    }
    while (month > 12) {
      month -= 12;
      ++year;
    }
    const int len = DaysInMonth(month, year);
    const int prev = DaysInMonth(month == 1 ? 12 : month - 1, year);
    if (day < 1) {
      --month;
      day += prev;
    } else if (day > len) {
      day -= len;
      ++month;
    }
    if (year < 1) {
      year = 1;
    }
  }
}

void CQDateTime::Set(const CQDateTime* other) {
  if (other == nullptr) {
    throw new CQError("Null pointer to input date and time.", "CQDateTime::Set");
  }
  *this = *other;
}

int NormalizeTimeOfDay(CQDateTime& t) {
  while (t.second < 0.0) {
    t.second += 60.0;
    --t.minute;
  }
  while (t.second + 1e-9 >= 60.0) {
    t.second -= 60.0;
    ++t.minute;
  }
  while (t.minute < 0) {
    t.minute += 60;
    --t.hour;
  }
  while (t.minute > 59) {
    t.minute -= 60;
    ++t.hour;
  }
  int days = 0;
  while (t.hour < 0) {
    t.hour += 24;
    --days;
  }
  while (t.hour > 23) {
    t.hour -= 24;
    ++days;
  }
  return days;
}
