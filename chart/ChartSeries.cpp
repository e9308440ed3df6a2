#include "ChartSeries.h"

#include <stdexcept>

void TPoints::Changed() {
    if (OnChange) OnChange(*this);
}

void TPoints::GrowIfFull() {
    if (XAllocatedPoints <= Count()) {
        XAllocatedPoints += FAllocBy;
        FPoints.reserve(static_cast<size_t>(XAllocatedPoints));
    }
}

void TPoints::Add(long double ax, long double ay) {
    const int n = Count();
    if (n > 0 && FPoints[n - 1].X >= ax) {
        int lo = 0, hi = n - 1;
        while (hi > lo) {
            const int mid = lo + (hi - lo) / 2;
            if (FPoints[mid].X >= ax)
                hi = mid;
            else
                lo = mid + 1;
        }
        if (FPoints[lo].X == ax) {
            FPoints[lo].Y = ay;
        } else {
            GrowIfFull();
            FPoints.insert(FPoints.begin() + lo, TPoint2D{ax, ay});
        }
    } else {
        GrowIfFull();
        FPoints.push_back(TPoint2D{ax, ay});
    }
    Changed();
}

const TPoint2D& TPoints::Points(int index) const {
    if (index < 0 || index >= Count()) throw std::out_of_range("");
    return FPoints[index];
}

void TPoints::Delete(int index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("Index is greater than Count!");
    FPoints.erase(FPoints.begin() + index);
    if (XAllocatedPoints - 2 * FAllocBy > Count()) {
        XAllocatedPoints -= FAllocBy;
        if (XAllocatedPoints <= 0) {
            XAllocatedPoints = 0;
            std::vector<TPoint2D>().swap(FPoints);
        } else {
            FPoints.shrink_to_fit();
            FPoints.reserve(static_cast<size_t>(XAllocatedPoints));
        }
    }
    Changed();
}

void TPoints::Clear() {
    std::vector<TPoint2D>().swap(FPoints);
    XAllocatedPoints = 0;
    Changed();
}

void TPoints::SetAllocBy(int value) {
    if (value != FAllocBy && value >= 1) FAllocBy = value;
}

void TPoints::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    Changed();
}

void TPoints::SetFunc(const std::string& value) {
    FFunc = value;
    // Only the characters the expression grammar knows survive; blanks and the rest go.
    XParseFunc.clear();
    for (const char ch : value) {
        const bool keep = (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') ||
                          ch == '(' || ch == ')' || ch == '*' || ch == '+' || ch == ',' || ch == '-' ||
                          ch == '.' || ch == '/' || ch == '^';
        if (keep) XParseFunc.push_back(ch);
    }
    Changed();
}

void TPoints::SetFuncDomX1(long double value) {
    FFuncDomX1 = value;
    Changed();
}

void TPoints::SetFuncDomX2(long double value) {
    FFuncDomX2 = value;
    Changed();
}

void TPoints::SetCaption(const std::string& value) {
    if (value == FCaption) return;
    FCaption = value;
    Changed();
}

void TPoints::SetPointSymbol(char32_t value) {
    FPointSymbol = value;
    Changed();
}

void TPoints::SetDrawStyle(TDrawStyle value) {
    if (value == FDrawStyle) return;
    FDrawStyle = value;
    Changed();
}

void TPoints::SetVisible(bool value) {
    if (value == FVisible) return;
    FVisible = value;
    Changed();
}

TPoints& TSeries::Add() {
    FSeries.push_back(std::make_unique<TPoints>());
    TPoints& added = *FSeries.back();
    added.OnChange = [this](TPoints& sender) { PointsChange(sender); };
    Notify();
    return added;
}

void TSeries::Delete(int index) {
    if (index < 0 || index >= Count()) throw std::out_of_range("");
    FSeries.erase(FSeries.begin() + index);
    if (FSeries.empty()) std::vector<std::unique_ptr<TPoints>>().swap(FSeries);
    Notify();
}

void TSeries::Clear() {
    std::vector<std::unique_ptr<TPoints>>().swap(FSeries);
    Notify();
}

TPoints& TSeries::Series(int index) const {
    if (index < 0 || index >= Count()) throw std::out_of_range("");
    return *FSeries[index];
}

void TSeries::BeginUpdate() {
    // Only the outermost BeginUpdate starts a fresh batch: clearing the flag on a nested one
    // would lose a change made before it, and the final EndUpdate would then not redraw.
    if (XUpdateCounter == 0) XNeedUpdate = false;
    ++XUpdateCounter;
}

void TSeries::EndUpdate() {
    if (XUpdateCounter > 0) --XUpdateCounter;
    if (XUpdateCounter == 0 && XNeedUpdate) {
        XNeedUpdate = false;
        if (OnChange) OnChange(*this);
    }
}

void TSeries::PointsChange(TPoints&) {
    Notify();
}

void TSeries::Notify() {
    if (XUpdateCounter > 0)
        XNeedUpdate = true;
    else if (OnChange)
        OnChange(*this);
}
