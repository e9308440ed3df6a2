#pragma once
// Trigonometry of the day-length code: the argument is rounded to single precision first,
// the result is extended precision. Callers that mix these with the double-precision
// routines get slightly different values, and each keeps its own.

long double fcos(float x);
long double ftan(float x);
long double farccos(float x); // atan2(sqrt(1 - x*x), x); raises outside [-1, 1]
long double farctan(float x); // atan2(x, 1)
long double fln(float x);     // raises for x <= 0
long double fexp(float x);
