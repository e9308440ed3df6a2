#include "WeatherUtils.h"

#include <cmath>

#include "MATH387.h"
#include "OrvexError.h"

namespace {
constexpr double pi_div_180 = 0.017453292519943295;
constexpr double pi_div_24 = 0.13089969389957473;
constexpr double c1 = -0.4092797095926703; // 23.45 degrees in radians, negated
constexpr double c2 = 6.283185307179586;   // 2 pi
constexpr double c3 = 0.017453292519943295;
constexpr double c4 = 7.639437268410976; // 24 / pi
constexpr long double PI_L = 3.141592653589793238462643383279502884L;

// Day 0 and negative days count from the end of the previous year; +10 moves the
// winter solstice to the cosine's origin.
int shiftedDay(int day) {
    return (day < 1 ? day + 365 : day) + 10;
}
} // namespace

bool IsLeap(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int GetNbDays(int year) {
    return IsLeap(year) ? 366 : 365;
}

double DayLength(int day, double lat) {
    const long double d = shiftedDay(day);
    const long double dec = -0.4092797095926703L * std::cos(2.0L * PI_L * d / 365.0L);
    const long double a = -std::tan(PI_L * static_cast<long double>(lat) / 180.0L) * std::tan(dec);
    if (a > 1.0L) return 0.0;
    if (a < -1.0L) return 24.0;
    return static_cast<double>(std::acos(a) * (24.0L / PI_L));
}

double DayLength2(int day, double lat) {
    const double d = shiftedDay(day);
    const double dec = static_cast<double>(c1 * fcos(static_cast<float>(d * c2 / 365.0)));
    const long double a = -ftan(static_cast<float>(lat * c3)) * ftan(static_cast<float>(dec));
    if (a > 1.0L) return 0.0;
    if (a < -1.0L) return 24.0;
    return static_cast<double>(farccos(static_cast<float>(a)) * c4);
}

double DOY(double lat, double dayLength, bool increase) {
    const long double t = ftan(static_cast<float>(pi_div_180 * lat));
    // At the equator every day has 12 hours: no day reaches another length.
    if (t == 0.0L) throw EOrvexError("Division by zero: a day length gives no day of the year at latitude 0");
    const long double a = farctan(static_cast<float>(-fcos(static_cast<float>(pi_div_24 * dayLength)) / t));
    long double b = -2.4433168235856L * a;
    if (b < -1.0L) b = -1.0L;
    if (b > 1.0L) b = 1.0L;
    const double r = static_cast<double>(farccos(static_cast<float>(b)) * 58.091554228541796L - 10.0L);
    return increase ? r : 344.0 - r;
}
