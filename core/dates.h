// Calendar dates and times of recordings: plain arithmetic, no time zones,
// no leap seconds, every year divisible by 4 a leap year.
#pragma once

class CQDate {
 public:
  int day = 0;    // 1..31
  int month = 0;  // 1..12
  int year = 0;   // > 0; all three 0: no date

  // Places a 1-based day of the year into month and day; a negative day changes nothing.
  void SetFromDayOfYear(int dayOfYear, int year);
  bool IsValid() const;
  // Carries a day or month outside its range into the neighbouring months.
  void Normalize();

  // Days in the month (1..12) of the year.
  static int DaysInMonth(int month, int year);
  bool operator==(const CQDate&) const = default;
};

class CQDateTime : public CQDate {
 public:
  int hour = 0;
  int minute = 0;
  double second = 0.0;

  // Copies all six fields; fails with "Null pointer to input date and time.".
  void Set(const CQDateTime* other);
  bool operator==(const CQDateTime&) const = default;
};

// Brings second, minute and hour of the time into range and returns the days carried.
int NormalizeTimeOfDay(CQDateTime& time);
