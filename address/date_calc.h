// Date arithmetic of the delivery time: month lengths, comparison, one week ahead, the rules a
// chosen delivery time must meet, and the typed form of the fallback dialog.
#pragma once

#include "platform/wintypes.h"

// Days in month 1..12 of year, February by the Gregorian leap-year rule.
int GetMonthLen(int year, int month);
// 0 = Sunday .. 6 = Saturday for a date of the Gregorian calendar.
int GetWeekDay(int year, int month, int day);

// -1 when a is earlier than b, 0 when equal, 1 when later; the day of the week is not compared.
int CompareTime(const SYSTEMTIME* a, const SYSTEMTIME* b);
// Moves the date seven days ahead; the day of the week and the time of day stay as they were.
void AddOneWeek(SYSTEMTIME* t);

// The message refusing `chosen` at the time `now`: in the past, or later than the same moment
// one week ahead. None when chosen may be used.
const char* CheckDlvTime(const SYSTEMTIME* chosen, const SYSTEMTIME* now);

// Reads "yyyy/mm/dd-hh" (only the digits' places are looked at) into t: the date, its day of
// the week, the hour, and minute, second and milliseconds 0. Returns 1 when the text names a
// real date and hour, 0 otherwise (t then holds what was read, unchecked).
int ReadDateText(const char* text, SYSTEMTIME* t);
