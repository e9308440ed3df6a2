#include "TextFactory.h"

#include <QWidget>

QString TTextFactory::GetHelp(THelpKind hlp_type) {
    switch (hlp_type) {
    case GRAPH_MOUSE_CTRL:
        return QStringLiteral(
            "MOUSE Controls for graph :\n----------------------------\nZooming Out    :  Right MB\n"
            "Panning             :  Right MB\nHint                    :  Shift + Left MB");
    case EXPORT_TAB:
        return QStringLiteral(
            "This tab aims to build  the current 'Fit Model Configuration' into an XML file.\r\n"
            "This file is next reusable 'as is' in the command line version of Orvex.\r\n\r\n"
            "At any time, you also can change the XML by hand with an external text editor.\r\n\r\n"
            "The options are :\r\n\r\n"
            "\t- To create a new fresh file containing only the fit currently being configured.\r\n"
            "\t- To append the current fit to an existing file.\r\n"
            "\t  (as the console mode can handle several fits from a single file)");
    default:
        return QString();
    }
}

TRTooltip TTextFactory::GetTooltip(TTooltipKind tip_type) {
    switch (tip_type) {
    case RAND_COLOR:
        return {"Colors", "Click to randomly refresh \ncolors for curves display."};
    case ADD_PHASE:
        return {"Add Phase", "Click to add a phase \nto the model."};
    case REM_PHASE:
        return {"Remove Phase", "Click to remove the \nlast phase from \nthe model."};
    case ADD_FUNC:
        return {"Add Function", "Click to add a function \nto this phase."};
    case REM_FUNC:
        return {"Remove Function", "Click to remove the \nlast function from this \nphase."};
    case REFRESH_SRC:
        return {"Reload From Files",
                "Click to reload input data \nfrom sources (Pheno and \nWeather files)."};
    case FUNC_FORMULA:
        return {"Show Formula", "Display the mathematical \nrepresentation for this \nfunction."};
    case FUNC_VARIABLE:
        return {"Define Variable",
                "Choose a Variable from \nthe Meteo File for the \nselected function to \nwork with."};
    case FUNC_LINKMODE:
        return {"Define Link Mode",
                "Choose the way the selected \nfunction should combine \nwith its left neighbour \n"
                "function  in the chain."};
    case FUNC_WEIGHT:
        return {"Define Weight",
                "Give a weight to the selected \nfunction [deafult = 1.0] \n(Used to combine with the \n"
                "previous chained block)."};
    case PHOTOPERIOD:
        return {"Photoperiod Usage",
                "Use the photoperiod instead \nof the Day of Year to \nestablish the value to \n"
                "be used for \"T0\"."};
    case TEMP_SAMPLING:
        return {"Sampling Methods",
                "Define the way the functions \nare run for this phase : \n - Basically once a day, OR,\n"
                " - Sliced by \"24 hours\" a day."};
    case HOUR_INTERPOL:
        return {"Interpolation Func.",
                "The interpolation function \nused to obtain the 24 \ntemperature slices per day."};
    case SKIP_VALIDATION:
        return {"Skip Validation",
                "Do this only if you're sure \nthat your source files are \ncompletely clear of errors."};
    case SAVE_PARAMS:
        return {"Save Parameters",
                "Save the selected set of \nparameters of the current \nmodel for later use in \n"
                "'simulation mode'."};
    case VIEW_CHARTS:
        return {"Graphical View",
                "Visualisation of the results \nobtained from the selected \nset of parameters."};
    case SELECT_PARAM_XML:
        return {"Select Model",
                "Select an XML model file : \na one resulting from the \nsave of a previous fit process."};
    default:
        return {};
    }
}

namespace {

// A pure blue behind navy text cannot be read: the tip keeps the hue of the background
// but lightens it far enough for the text to stand out.
QColor ReadableBackground(const QColor& back) {
    if (back.lightness() >= 200) return back;
    const int r = back.red() + (255 - back.red()) * 85 / 100;
    const int g = back.green() + (255 - back.green()) * 85 / 100;
    const int b = back.blue() + (255 - back.blue()) * 85 / 100;
    return QColor(r, g, b);
}

const char* IconMark(int icon) {
    switch (icon % 4) {
    case 1:
        return "&#x2139;&nbsp;"; // information
    case 2:
        return "&#x26A0;&nbsp;"; // warning
    case 3:
        return "&#x26D4;&nbsp;"; // error
    default:
        return "";
    }
}

} // namespace

QString TTextFactory::BalloonHtml(int Icon, const QString& Title, const QString& Text, const QColor& BackCL,
                                  const QColor& TextCL) {
    QString body = Text.toHtmlEscaped();
    body.replace(QStringLiteral("\n"), QStringLiteral("<br>"));
    return QStringLiteral("<table cellpadding=\"4\" style=\"background-color:%1; color:%2\"><tr><td>"
                          "<b>%3%4</b><br>%5</td></tr></table>")
        .arg(ReadableBackground(BackCL).name(), TextCL.name(), QString::fromLatin1(IconMark(Icon)),
             Title.left(255).toHtmlEscaped(), body);
}

void TTextFactory::ShowBalloonTip(QWidget* Control, int Icon, const QString& Title, const QString& Text,
                                  const QColor& BackCL, const QColor& TextCL) {
    if (!Control) return;
    Control->setToolTip(BalloonHtml(Icon, Title, Text, BackCL, TextCL));
}

void TTextFactory::ShowTip(QWidget* Control, TTooltipKind tip_type) {
    const TRTooltip tip = GetTooltip(tip_type);
    ShowBalloonTip(Control, 1, QString::fromUtf8(tip.title ? tip.title : ""),
                   QString::fromUtf8(tip.msg ? tip.msg : ""), QColor(Qt::blue), QColor(0, 0, 128));
}
