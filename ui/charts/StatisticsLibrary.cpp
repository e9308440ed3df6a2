#include "StatisticsLibrary.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "NumberText.h"

void TDescriptiveStatistics::ResetValues() {
    FCount = 0;
    FMinValue = 1.7e308;
    FMaxValue = -1.7e308;
    FSum = 0;
    FSumOfSquares = 0;
}

void TDescriptiveStatistics::NextValue(double x) {
    ++FCount;
    FSum += x;
    FSumOfSquares += x * x;
    if (x > FMaxValue) FMaxValue = x;
    if (x < FMinValue) FMinValue = x;
}

double TDescriptiveStatistics::MeanValue() const {
    return FCount == 0 ? STAT_UNDEFINED : FSum / FCount;
}

double TDescriptiveStatistics::StandardDeviation() const {
    if (FCount < 2) return STAT_UNDEFINED;
    // Equal values may leave a tiny negative residue.
    const double variance = (FSumOfSquares - FSum * FSum / FCount) / (FCount - 1);
    return std::sqrt(std::max(variance, 0.0));
}

void TLinearRegression::ResetValues() {
    FCount = 0;
    FSumX = FSumXSquared = FSumY = FSumYSquared = FSumXY = 0;
    FMinX = FMaxX = 0;
}

void TLinearRegression::NextValue(double x, double y) {
    if (FCount == 0 || x < FMinX) FMinX = x;
    if (FCount == 0 || x > FMaxX) FMaxX = x;
    ++FCount;
    FSumX += x;
    FSumXSquared += x * x;
    FSumY += y;
    FSumYSquared += y * y;
    FSumXY += x * y;
}

void TLinearRegression::GetLineCoefficients(double& A, double& B) const {
    const double n = FCount;
    const double sxx = FSumXSquared - FSumX * FSumX / n;
    // Equal abscissas determine no slope, whatever residue the sums leave.
    if (FCount == 0 || FMinX == FMaxX || !(sxx > 0)) {
        A = B = STAT_UNDEFINED;
        return;
    }
    A = (FSumXY - FSumX * FSumY / n) / sxx;
    B = (FSumY - A * FSumX) / n;
}

double TLinearRegression::CorrelationCoefficient() const {
    if (FCount < 2) return STAT_UNDEFINED;
    const double n = FCount;
    const double num = FSumXY - FSumX * FSumY / n;
    const double sxx = std::max(FSumXSquared - FSumX * FSumX / n, 0.0);
    const double syy = std::max(FSumYSquared - FSumY * FSumY / n, 0.0);
    const double den = std::sqrt(sxx * syy);
    if (den == 0) return num == 0 ? 1.0 : STAT_UNDEFINED;
    const double r = num / den;
    return std::isfinite(r) ? r : STAT_UNDEFINED;
}

void TVeskPolyFit::NextValue(double xx, double yy) {
    ++FCount;
    FX.push_back(xx);
    FY.push_back(yy);
}

void TVeskPolyFit::ResetValues() {
    FCount = 0;
    FX.clear();
    FY.clear();
}

const std::vector<double>& TVeskPolyFit::GetCoefficients() {
    const int terms = std::max(FNum, 0) + 1;
    FCoeffs.assign(static_cast<size_t>(terms), STAT_UNDEFINED);
    std::vector<double> xs = FX;
    std::sort(xs.begin(), xs.end());
    const auto distinct = std::unique(xs.begin(), xs.end()) - xs.begin();
    if (distinct < terms) return FCoeffs;

    // t = (x - centre) / half: the abscissas span [-1, 1], where powers stay apart.
    const double centre = (xs.front() + xs.back()) / 2;
    const double half = xs.back() > xs.front() ? (xs.back() - xs.front()) / 2 : 1.0;
    Eigen::MatrixXd v(FCount, terms);
    Eigen::VectorXd y(FCount);
    for (int k = 0; k < FCount; ++k) {
        const double t = (FX[static_cast<size_t>(k)] - centre) / half;
        double p = 1;
        for (int j = 0; j < terms; ++j, p *= t)
            v(k, j) = p;
        y(k) = FY[static_cast<size_t>(k)];
    }
    const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(v);
    if (qr.rank() < terms) return FCoeffs;
    const Eigen::VectorXd a = qr.solve(y);

    // Back to powers of x by Horner's scheme on the polynomial t = x / half - centre / half.
    const double alpha = 1 / half, beta = -centre / half;
    std::vector<double> c(static_cast<size_t>(terms), 0.0);
    c[0] = a(terms - 1);
    for (int j = terms - 2; j >= 0; --j) {
        for (int i = terms - 1; i >= 1; --i)
            c[static_cast<size_t>(i)] =
                alpha * c[static_cast<size_t>(i - 1)] + beta * c[static_cast<size_t>(i)];
        c[0] = beta * c[0] + a(j);
    }
    if (!std::all_of(c.begin(), c.end(), [](double x) { return std::isfinite(x); })) return FCoeffs;
    FCoeffs = c;
    return FCoeffs;
}

bool TVeskPolyFit::Determined() const {
    return !FCoeffs.empty() &&
           std::none_of(FCoeffs.begin(), FCoeffs.end(), [](double c) { return c == STAT_UNDEFINED; });
}

std::string TVeskPolyFit::GetFormula() {
    GetCoefficients();
    if (!Determined()) return std::string();
    std::string text = "(" + FloatToStrGeneral(FCoeffs[0], 15) + ")";
    for (size_t k = 1; k < FCoeffs.size(); ++k) {
        text += "+(" + FloatToStrGeneral(FCoeffs[k], 15) + ")";
        for (size_t i = 0; i < k; ++i)
            text += "*(x)";
    }
    return text;
}

std::string TVeskPolyFit::GetShortFormula() const {
    if (FCoeffs.empty()) throw std::logic_error("You must call \"TVeskPolyFit.GetCoefficients()\" first !");
    std::string text = "\n(" + FloatToStrFixed(FCoeffs[0], 8, 4) + ")";
    for (size_t k = 1; k < FCoeffs.size(); ++k) {
        std::string term = "\n(" + FloatToStrFixed(FCoeffs[k], 8, 4) + ")";
        for (size_t i = 0; i < k; ++i)
            term += "*x";
        text = term + "+" + text;
    }
    return text;
}
