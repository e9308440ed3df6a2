#pragma once
// Accumulators the chart window feeds with the points of a plotted series: descriptive
// statistics, the least-squares line and the least-squares polynomial with its formula texts.
// A result that cannot be computed is STAT_UNDEFINED, which the window shows as it is.

#include <string>
#include <vector>

inline constexpr double STAT_UNDEFINED = 8.5e307;

class TDescriptiveStatistics {
public:
    TDescriptiveStatistics() { ResetValues(); }
    void ResetValues();
    void NextValue(double x);

    int Count() const { return FCount; }
    double MinValue() const { return FMinValue; }
    double MaxValue() const { return FMaxValue; }
    double Sum() const { return FSum; }
    double MeanValue() const;
    // Sample standard deviation; needs two values.
    double StandardDeviation() const;

private:
    int FCount = 0;
    double FMaxValue = 0, FMinValue = 0, FSum = 0, FSumOfSquares = 0;
};

class TLinearRegression {
public:
    TLinearRegression() { ResetValues(); }
    void ResetValues();
    void NextValue(double x, double y);

    int Count() const { return FCount; }
    // Slope A and intercept B; both STAT_UNDEFINED without points or when every x is the same.
    void GetLineCoefficients(double& A, double& B) const;
    // Needs two points; 1 when both spreads and the covariance are 0.
    double CorrelationCoefficient() const;

private:
    int FCount = 0;
    double FSumX = 0, FSumXSquared = 0, FSumY = 0, FSumYSquared = 0, FSumXY = 0;
    double FMinX = 0, FMaxX = 0;
};

// The polynomial is solved on centred and scaled abscissas by a rank-revealing QR and then
// written in powers of x: the normal equations lose every digit for x around 100 at degree 4.
class TVeskPolyFit {
public:
    void SetPower(int n) { FNum = n; }
    int Power() const { return FNum; }
    void NextValue(double xx, double yy);
    void ResetValues();
    int Count() const { return FCount; }

    // c0..cN in ascending powers; each call computes them afresh. A fit with fewer distinct x
    // values than N + 1 gives N + 1 times STAT_UNDEFINED.
    const std::vector<double>& GetCoefficients();
    bool Determined() const;
    // "(c0)+(c1)*(x)+(c2)*(x)*(x)..." with '.' for the parser; empty when the fit is undetermined.
    std::string GetFormula();
    // One term a line, highest power first. Raises std::logic_error before any GetCoefficients.
    std::string GetShortFormula() const;

private:
    int FCount = 0;
    std::vector<double> FX, FY;
    int FNum = 0;
    std::vector<double> FCoeffs;
};
