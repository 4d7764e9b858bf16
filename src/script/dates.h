// Calendar arithmetic on OLE Automation dates (days since 1899-12-30, with
// the time of day as the fraction, negative dates counting the fraction
// forwards as COM does).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "script/host.h"
#include "text/date_order.h"

namespace script {

// The earliest and latest dates VBScript accepts: 100-01-01 and 9999-12-31.
constexpr double kMinDate = -657434.0;
constexpr double kMaxDate = 2958465.99999999;

bool IsValidDate(double serial);
// Days from 1970-01-01 to a date of the proleptic Gregorian calendar (month
// 1 to 12), and back.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day);
void CivilFromDays(int64_t days, int* year, int* month, int* day);
// 28 to 31.
int DaysInMonth(int year, int month);
// Year/month/day to the day serial; months and days out of range roll over
// as DateSerial does. False when the result is outside the valid range.
bool DaySerial(int year, int month, int day, double* serial);
// The time of day as a fraction; hours/minutes/seconds may roll over.
double TimeFraction(double hour, double minute, double second);
// Splits a serial into calendar parts, rounding to the nearest second.
DateParts SplitDate(double serial);
// Sunday = 1 ... Saturday = 7.
int WeekdayOf(double serial);
// The default text forms, US English.
std::string DefaultShortDate(const DateParts& d);
std::string DefaultLongTime(const DateParts& d);
std::string DefaultLongDate(const DateParts& d);
// The date text VBScript shows: date only, time only (date part zero), or both.
std::string DateToText(double serial, const Host& host);
// Reads a date and/or time text as VBScript does: three numbers in the
// given order, falling back to month first where that order cannot be a
// date; a first number that can only be a year makes it Y/M/D; two numbers
// are day and month in the order's sequence, or month and year; a month name
// anywhere; h:mm[:ss] [AM|PM] before or after the date. A date without a
// year falls in currentYear. False when the text is not a date.
bool ParseDate(std::string_view text, text::DateOrder order, int currentYear, double* serial);

extern const char* const kMonthNames[12];
extern const char* const kDayNames[7];

}  // namespace script
