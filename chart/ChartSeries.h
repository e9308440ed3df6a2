#pragma once
// The data side of the graph: one plotted series (TPoints) and the owning list (TSeries).

#include "ChartTypes.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TPoints {
public:
    using TNotify = std::function<void(TPoints& sender)>;

    TPoints() = default;
    TPoints(const TPoints&) = delete;
    TPoints& operator=(const TPoints&) = delete;

    // Inserts keeping X ascending; an existing equal X only gets its Y replaced.
    void Add(long double ax, long double ay);
    // Raises std::out_of_range("Index is greater than Count!") for a bad index.
    void Delete(int index);
    // Drops every point; the function text, caption and settings stay.
    void Clear();

    int Count() const { return static_cast<int>(FPoints.size()); }
    // Raises std::out_of_range with an empty message for a bad index.
    const TPoint2D& Points(int index) const;
    int Capacity() const { return XAllocatedPoints; }

    int AllocBy() const { return FAllocBy; }
    void SetAllocBy(int value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    const std::string& Func() const { return FFunc; }
    void SetFunc(const std::string& value);
    // The filtered copy of Func that the graph compiles.
    const std::string& ParseFunc() const { return XParseFunc; }
    long double FuncDomX1() const { return FFuncDomX1; }
    void SetFuncDomX1(long double value);
    long double FuncDomX2() const { return FFuncDomX2; }
    void SetFuncDomX2(long double value);
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    char32_t PointSymbol() const { return FPointSymbol; }
    void SetPointSymbol(char32_t value);
    TDrawStyle DrawStyle() const { return FDrawStyle; }
    void SetDrawStyle(TDrawStyle value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

    TNotify OnChange;

private:
    void Changed();
    void GrowIfFull();

    int FAllocBy = 100;
    TColor FColor = 255;
    std::string FFunc;
    long double FFuncDomX1 = -1.1e4932L;
    long double FFuncDomX2 = 1.1e4932L;
    std::string FCaption;
    std::vector<TPoint2D> FPoints;
    char32_t FPointSymbol = 0;
    TDrawStyle FDrawStyle = TDrawStyle::dsLines;
    bool FVisible = true;
    std::string XParseFunc;
    int XAllocatedPoints = 0;
};

class TSeries {
public:
    using TNotify = std::function<void(TSeries& sender)>;

    TSeries() = default;
    TSeries(const TSeries&) = delete;
    TSeries& operator=(const TSeries&) = delete;

    // Appends a new series, which is then Series(Count() - 1).
    TPoints& Add();
    // Bad indexes raise std::out_of_range with an empty message.
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(FSeries.size()); }
    TPoints& Series(int index) const;

    // Batches change notices: only the outermost EndUpdate fires, once, if anything changed.
    void BeginUpdate();
    void EndUpdate();

    TNotify OnChange;

private:
    void PointsChange(TPoints& sender);
    void Notify();

    std::vector<std::unique_ptr<TPoints>> FSeries;
    bool XNeedUpdate = false;
    int XUpdateCounter = 0;
};
