#pragma once
// The fixed help texts and balloon-tip texts, and the tip shown on a control.

#include <QColor>
#include <QString>

class QWidget;

// Title and text of a balloon tip.
struct TRTooltip {
    const char* title = nullptr;
    const char* msg = nullptr;
};

class TTextFactory {
public:
    enum THelpKind { UNKNOWN_HLP, GRAPH_MOUSE_CTRL, EXPORT_TAB };
    enum TTooltipKind {
        UNKNOWN_TIP,
        RAND_COLOR,
        ADD_PHASE,
        REM_PHASE,
        ADD_FUNC,
        REM_FUNC,
        REFRESH_SRC,
        FUNC_FORMULA,
        FUNC_VARIABLE,
        FUNC_LINKMODE,
        FUNC_WEIGHT,
        PHOTOPERIOD,
        TEMP_SAMPLING,
        HOUR_INTERPOL,
        SKIP_VALIDATION,
        SAVE_PARAMS,
        VIEW_CHARTS,
        SELECT_PARAM_XML
    };

    TTextFactory() = delete;

    static QString GetHelp(THelpKind hlp_type);
    // Empty title and message for a kind without a tip.
    static TRTooltip GetTooltip(TTooltipKind tip_type);
    // The tip shows whenever the mouse rests on the control, for the control's whole life.
    // Icon mod 4: 0 none, 1 information, 2 warning, 3 error.
    static void ShowBalloonTip(QWidget* Control, int Icon, const QString& Title, const QString& Text,
                               const QColor& BackCL, const QColor& TextCL);
    // The tip's rich text: the title in bold, then the text with its line breaks.
    static QString BalloonHtml(int Icon, const QString& Title, const QString& Text, const QColor& BackCL,
                               const QColor& TextCL);
    // Shows the tooltip of kind tip_type on Control as every window does: information icon, navy on blue.
    static void ShowTip(QWidget* Control, TTooltipKind tip_type);
};
