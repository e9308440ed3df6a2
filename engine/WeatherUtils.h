#pragma once
// Leap years and day length.

bool IsLeap(int year);
int GetNbDays(int year);
// Day length in hours, in double precision; Dormphot and the phase's T0 conversion use it.
double DayLength(int day, double lat);
// The same through the single-precision routines; the daily run, Delpierre and White use it.
double DayLength2(int day, double lat);
// Day of the year on which dayLength is reached at lat, while days lengthen or shorten.
double DOY(double lat, double dayLength, bool increase);
