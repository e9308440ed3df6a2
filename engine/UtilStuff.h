#pragma once
// Small shared routines: hourly temperatures, number and Boolean text, Fisher, lists, log, version.

#include <string>
#include <string_view>
#include <vector>

#include "OrvexRawTypes.h"

class TWeatherYear;

// Linear hourly temperature: minimum at 0 h, maximum at 12 h, next day's minimum at 24 h.
double TempHeur(const TWeatherYear& Wi, int i, int heure);
// Logarithmic day curve from 6 h to 15 h, parabolic night curve across midnight.
double TempHeur_shark(const TWeatherYear& Wi, int i, int heure);

// Cells of a line split at every TAB (blanks do not split); an empty line has no cells. The
// views point into `line`, which must outlive them. Every tab-separated reader uses this rule.
void SplitTabCells(std::string_view line, std::vector<std::string_view>& cells);
std::vector<std::string_view> SplitTabCells(std::string_view line);
// The number of those cells, without splitting.
int nbOfColumns(std::string_view s);
// Fixed text with after_point decimals and b4_point + after_point significant digits.
std::string myFloatToStr(double value, const TRVarInfo& info);
std::string myBoolToStr(bool b);       // "1" / "0"
std::string myBoolToStr2(bool b);      // "True" / "False"
bool myStrToBool2(std::string_view s); // only the exact "True" is true
bool IsInteger(std::string_view s);
bool IsFloat(std::string_view s); // '.' or ',' as separator
// Settings and model files may carry ',' or '.': both become '.', the separator we read.
std::string StrNormalizeFloat(std::string_view f);

// ((|SS| - |SSbest|) / n) / (|SSbest| / (ntot - n)); raises where that divides by zero.
double Fisher(double SS, double SSbest, int n, int ntot);
int ListGetMax(const std::vector<int>& list);          // raises for an empty list
int GetRawDataLen(const std::vector<TRRawData>& list); // -1 for an empty list

// Debug log: silent unless ORVEX_DEBUG is set, then one line on stderr.
void LogIt(std::string_view text);

// "a.b.c.d" of the build.
std::string ApplicationVersion();
