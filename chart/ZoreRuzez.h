#pragma once
// TZoreRuzez: a two-dimensional graph control. It plots a list of series (points sorted by X,
// or a function text y = f(X) evaluated by its own expression parser) inside the view
// rectangle VisRect, renders into an off-screen picture and copies that picture when painted.

#include "ChartSeries.h"
#include "ChartTypes.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class TMDParser;
class TChartCanvas;
class TEGHintForm;
class TEGLegendList;
class QMouseEvent;
class QPainter;

class TZoreRuzez : public QWidget {
    Q_OBJECT

public:
    using TNotify = std::function<void(TZoreRuzez& sender)>;
    // Writes the text of the axis number `val` into `lbl`, which arrives empty.
    using TLabeling = std::function<void(TZoreRuzez& sender, long double val, std::string& lbl)>;

    explicit TZoreRuzez(QWidget* parent = nullptr);
    ~TZoreRuzez() override;

    long double AspectRatio() const { return FAspectRatio; }
    void SetAspectRatio(long double value);
    const std::string& BgImage() const { return FBgImage; }
    void SetBgImage(const std::string& value);
    TBgStyle BgStyle() const { return FBgStyle; }
    void SetBgStyle(TBgStyle value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TBorderStyle GraphBorder() const { return FGraphBorder; }
    void SetGraphBorder(TBorderStyle value);
    TColor ColorAxis() const { return FColorAxis; }
    void SetColorAxis(TColor value);
    TColor ColorBg() const { return FColorBg; }
    void SetColorBg(TColor value);
    TColor ColorBg2() const { return FColorBg2; }
    void SetColorBg2(TColor value);
    TColor ColorBorder() const { return FColorBorder; }
    void SetColorBorder(TColor value);
    TColor ColorGrid() const { return FColorGrid; }
    void SetColorGrid(TColor value);
    TColor ColorNumb() const { return FColorNumb; }
    void SetColorNumb(TColor value);
    TGridStyle GridStyle() const { return FGridStyle; }
    void SetGridStyle(TGridStyle value);
    bool NumbHoriz() const { return FNumbHoriz; }
    void SetNumbHoriz(bool value);
    bool NumbVert() const { return FNumbVert; }
    void SetNumbVert(bool value);
    TEGQuadrant Quadrant() const { return FQuadrant; }
    void SetQuadrant(TEGQuadrant value);
    const TLabeling& OnXLabeling() const { return FOnXLabeling; }
    void SetOnXLabeling(TLabeling handler);
    const TLabeling& OnYLabeling() const { return FOnYLabeling; }
    void SetOnYLabeling(TLabeling handler);

    // Stored without notice; those that change the picture make the next paint render.
    bool MaintainRatio() const { return FMaintainRatio; }
    void SetMaintainRatio(bool value);
    TMouseAction MousePan() const { return FMousePan; }
    void SetMousePan(TMouseAction value) { FMousePan = value; }
    TMouseAction MouseZoom() const { return FMouseZoom; }
    void SetMouseZoom(TMouseAction value) { FMouseZoom = value; }
    TMouseAction MouseFuncHint() const { return FMouseFuncHint; }
    void SetMouseFuncHint(TMouseAction value) { FMouseFuncHint = value; }
    int ZoomTime() const { return FZoomTime; }
    void SetZoomTime(int value) { FZoomTime = value; }
    TFloatFormat FloatFormatting() const { return FFF; }
    void SetFloatFormatting(TFloatFormat value);
    bool DrawOneOne() const { return FDrawOneOne; }
    void SetDrawOneOne(bool value);

    TSeries& Series() { return *FSeries; }
    TMDParser& Parser() { return *XParser; }

    const TRect2D& VisRect() const { return FVisRect; }
    // Refuses a view with an empty or non-finite extent; orders the corners; renders at once.
    void SetVisRect(const TRect2D& value);
    // Keeps both extents between 0.01 and 10000 and, with MaintainRatio, the aspect ratio.
    void AdjustZoom(TRect2D& r) const;

    // The plot rectangle of the last render, in control pixels.
    const TPixelRect& GraphRect() const { return XGraphRect; }
    // Data to pixel with the last render's plot rectangle: rounded (halves to even) but kept in
    // floating point, as far-away data lie far outside any int.
    long double PixelX(long double x) const;
    long double PixelY(long double y) const;
    // Pixel to data; false when the pixel lies outside the plot rectangle.
    bool GetGraphCoords(int x, int y, long double* gx, long double* gy) const;

    // Batches redraws: only the outermost EndUpdate paints.
    void BeginUpdate();
    void EndUpdate();

    // Draws the whole picture into the off-screen picture (nullptr), or into `canvas` without
    // background and leaving the off-screen picture alone (that needs one render done before).
    void Render(QImage* canvas = nullptr);
    // The off-screen picture, rendered first when a render is due.
    const QImage& Picture();
    // Renders when due, then repaints the visible control straight away.
    void PaintNow();
    int TimeToDraw() const { return XTimeToDraw; }

    // Writes the picture (rendered first when due) as a Windows bitmap file, whatever the name's
    // extension. Raises std::runtime_error naming the file when it cannot be written.
    void SaveAsBmp(const std::string& fileName);
    // Puts the picture, drawn without background at the control's size, on the clipboard.
    void CopyToClipboard();

    // The legend list bound to this graph, if any (bound from the list's side).
    TEGLegendList* Legend() const;
    // The coordinate hint window that a hint gesture shows.
    const TEGHintForm& HintForm() const { return *XHintForm; }
    // A zoom animation runs; mouse presses are ignored meanwhile.
    bool Zooming() const { return XZoomThread.has_value(); }

    TNotify OnChange;
    TNotify OnVisChange;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class TEGLegendList;
    struct TRenderState;

    // The animated zoom: frames come from a timer of the window thread, so nothing but that
    // thread touches the control, and destroying the control stops it.
    struct TZoomThread {
        TRect2D FromRect, ToRect;
        int ZoomTime = 0;
        int TimeToDraw = 0;
        QElapsedTimer Clock;
    };

    enum : int { maClick = 1, maPan = 2, maBand = 4, maHint = 8 };

    void RenderTimed();
    bool Matches(TMouseAction action, const QMouseEvent& event) const;
    bool InsidePlot(int x, int y) const;
    void Pan(int x, int y);
    void GraphZoom();
    void ApplyZoom(const TRect2D& target);
    void DrawGraph(const TRect2D& view);
    void ZoomFrame();
    void DrawBand(QPainter& painter) const;
    void CalculateHint();
    void EndHint();
    std::optional<long double> HintRow(const TPoints& s, bool compiled, int c, long double mouseY,
                                       bool& segment);

    bool RenderDue() const;
    void Changed(bool bgRedraw = false);
    void SeriesChange();
    void RebuildBackground();
    void DrawBackground(TChartCanvas& canvas);
    void DrawBorder(TChartCanvas& canvas, TBorderStyle style, TColor color, TPixelRect& f) const;
    void DrawGridAndNumbers(TRenderState& st);
    long double VerticalStep(TChartCanvas& cv, const TPixelRect& g, const TRect2D& v) const;
    int VerticalNumbersWidth(TChartCanvas& cv, const TPixelRect& g, const TRect2D& v);
    void DrawVerticalAxis(TRenderState& st);
    void DrawHorizontalAxis(TRenderState& st);
    void DrawOneOneLine(TRenderState& st, const TPixelRect& f);
    bool SeriesClip(const TRenderState& st, TPixelRect& clip) const;
    void DrawSeries(TRenderState& st);
    void DrawLines(TRenderState& st, const TPoints& pts);
    void DrawPoints(TRenderState& st, const TPoints& pts);
    void DrawFunc(TRenderState& st, const TPoints& pts);
    std::string AxisText(const TLabeling& handler, long double value);

    long double FAspectRatio = 1.0L;
    std::string FBgImage;
    TBgStyle FBgStyle = TBgStyle::bgsSolid;
    TBorderStyle FBorderStyle = TBorderStyle::bstNone;
    TBorderStyle FGraphBorder = TBorderStyle::bstLowered;
    TColor FColorBg = clBtnFace;
    TColor FColorBg2 = clBtnShadow;
    TColor FColorGrid = clGray;
    TColor FColorAxis = clBlack;
    TColor FColorBorder = clBlack;
    TColor FColorNumb = clBlack;
    std::unique_ptr<TSeries> FSeries;
    TGridStyle FGridStyle = TGridStyle::gsFull;
    bool FMaintainRatio = false;
    bool FNumbHoriz = true;
    bool FNumbVert = true;
    TLabeling FOnXLabeling;
    TLabeling FOnYLabeling;
    TEGQuadrant FQuadrant = TEGQuadrant::egqAll;
    int FZoomTime = 200;
    TMouseAction FMouseZoom = TMouseAction::maRight;
    TMouseAction FMousePan = TMouseAction::maRight;
    TMouseAction FMouseFuncHint = TMouseAction::maShift;
    TRect2D FVisRect{-10, -10, 10, 10};
    QImage XTempBmp;
    // The gradient picture; null when the background is solid or a picture style has no picture.
    QImage XBgBmp;
    bool XBgInUse = false;
    bool XRenderNeed = true;
    bool XBgRedraw = true;
    TPixelRect XGraphRect;
    int XTimeToDraw = 0;
    std::unique_ptr<TMDParser> XParser;
    int XUpdateCounter = 0;
    TFloatFormat FFF = TFloatFormat::ffFixed;
    bool FDrawOneOne = false;

    int XMouseAction = 0;
    QPoint XMousePos;
    int XMousePointsMove = 0;
    TPixelRect XLastZoomR;
    // A hint gesture runs until the next button event, even after the hint was hidden.
    bool XHintGesture = false;
    TEGHintForm* XHintForm = nullptr; // a child window, freed with the control
    std::optional<TZoomThread> XZoomThread;
    QTimer XZoomTimer;
    QPointer<TEGLegendList> XLegend;
};
