// Draws the formula pictures the function editor shows, one per response function and one
// for a function without a picture. Built with the project, run by hand:
//   build/bin/orvex_make_formulas System/Resources
// Formula lines use a small markup: ^{...} is raised, _{...} lowered.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct TFormula {
    const char* name;                // the function's display name, as in the file name
    std::vector<const char*> lines;  // the formula; T is the function's input of the day
    std::vector<const char*> params; // "name: meaning"
    const char* title = nullptr;     // the name when none
};

// T is the daily input: a temperature, a day length or the previous value, as the phase says.
const std::vector<TFormula> FORMULAS = {
    {"Bidabe",
     {"r = Q10^{\u2212Tn / 10} + Q10^{\u2212Tx / 10}", "Tn, Tx : minimum and maximum temperature of the day"},
     {"Q10 : rate change per 10 \u00b0C"}},
    {"Varnel",
     {"r = 1 / (1 + e^{a\u00b7(T \u2212 Topt)\u00b2 + b\u00b7(T \u2212 Topt)})"},
     {"a : curvature", "b : slope", "Topt : optimum temperature"}},
    {"Delpierre",
     {"r = (Tbase \u2212 T)^{x} \u00b7 (DL / DLstart)^{y}     if DL < DLstart and T < Tbase",
      "r = 0     otherwise", "DL : day length; x and y taken as whole numbers"},
     {"DLstart : day length threshold (h)", "Tbase : base temperature", "x, y : exponents"}},
    {"Dormphot",
     {"S(v, s, c) = 1 / (1 + e^{s\u00b7(v \u2212 c)})", "DL_{50} = 24 \u00b7 S(T, a1, Ccrit)",
      "T_{50} = 60 \u00b7 S(DL, a2, DL_{50})", "r = S(Tmean, a3, T_{50})",
      "DL : day length, Tmean : mean temperature"},
     {"a1, a2, a3 : slopes", "Ccrit : critical state"}},
    {"Erez",
     {"Tk = T + 273  (hourly temperature, K)",
      "v = slp\u00b7Tetmlt_K\u00b7(Tk \u2212 Tetmlt_K) / Tk,   Xi = e^{v} / (e^{v} + 1)",
      "ak = A1\u00b7e^{\u2212E1 / Tk},   Xs = (A0 / A1)\u00b7e^{(E1 \u2212 E0) / Tk}",
      "I = Xs \u2212 e^{\u2212ak}\u00b7(Xs \u2212 S)",
      "r = Xi\u00b7I and S = (1 \u2212 Xi)\u00b7I   if I \u2265 1;   r = 0 and S = I   otherwise",
      "S : chill state carried from hour to hour"},
     {"slp, Tetmlt_K : transition slope and temperature", "E0, E1 : activation energies",
      "A0, A1 : rate constants"}},
    {"Four Phases",
     {"r = 1     if T \u2265 Ccrit", "r = 0     if Ctr \u2264 T < Cpr",
      "otherwise r = 1 if Tmean > Ttrh, else 0, with",
      "Ttrh = ((T2 \u2212 T1) / Ctr + T1)\u00b7T     if T < Ctr",
      "Ttrh = (T1 \u2212 T2)\u00b7(T \u2212 Ccrit) / (Ccrit \u2212 Cpr) + T1     if Cpr \u2264 T < Ccrit"},
     {"T1, T2 : threshold temperatures", "Ctr, Cpr, Ccrit : state limits of the phases"}},
    {"GDD", {"r = T \u2212 Tbase     if T > Tbase", "r = 0     otherwise"}, {"Tbase : base temperature"}},
    {"GDD Inverse",
     {"r = Tbase \u2212 T     if T < Tbase", "r = 0     otherwise"},
     {"Tbase : base temperature"}},
    {"Identity", {"r = T"}, {}},
    {"Landsberg", {"r = 1     if T < a", "r = a / T     if T \u2265 a"}, {"a : threshold"}},
    {"Negative Exponential", {"r = A \u00b7 e^{k\u00b7T}"}, {"k : rate", "A : scale"}},
    {"Parabolic",
     {"r = o\u00b7T\u00b3 + n\u00b7T\u00b2 + m\u00b7T + p     if \u22125 \u2264 T \u2264 40",
      "r = 0     otherwise", "m, n, o, p : the cubic whose optimum lies at Topt"},
     {"Topt : optimum temperature"}},
    {"Richardson",
     {"r = 0     if T \u2264 Tbase", "r = T \u2212 Tbase     if Tbase < T < Tmax",
      "r = Tmax \u2212 Tbase     if T \u2265 Tmax"},
     {"Tbase : base temperature", "Tmax : upper temperature"}},
    {"Richardson Inverse",
     {"r = Tmax \u2212 Tbase     if T \u2264 Tbase", "r = Tmax \u2212 T     if Tbase < T < Tmax",
      "r = 0     if T \u2265 Tmax"},
     {"Tbase : base temperature", "Tmax : upper temperature"}},
    {"Sigmoid", {"r = 1 / (1 + e^{slope\u00b7(T \u2212 Tmid)})"}, {"slope : steepness", "Tmid : mid-point"}},
    {"Sigmoid Negative",
     {"r = 1 / (1 + e^{\u2212slope\u00b7(T \u2212 Tmid)})"},
     {"slope : steepness", "Tmid : mid-point"}},
    {"Smoothed Utah",
     {"h = (1 + min) / 2", "r = 1 / (1 + e^{4\u00b7(Tm1 \u2212 T) / (Topt \u2212 Tm1)})     if T < Tm1",
      "r = 1 \u2212 \u00bd\u00b7(T \u2212 Topt)\u00b2 / (Topt \u2212 Tm1)\u00b2     if Tm1 \u2264 T < Topt",
      "r = 1 \u2212 (1 \u2212 h)\u00b7(T \u2212 Topt)\u00b2 / (Tn2 \u2212 Topt)\u00b2     if Topt \u2264 T < "
      "Tn2",
      "r = min + 2(h \u2212 min) / (1 + e^{k\u00b7(Tn2 \u2212 T)})     if T \u2265 Tn2",
      "k = 4(1 \u2212 h) / ((Topt \u2212 Tn2)(h \u2212 min))"},
     {"Tm1 : lower temperature (r = \u00bd)", "Topt : optimum temperature (r = 1)",
      "Tn2 : upper temperature (r = h)", "min : value at high temperature"}},
    {"STICS Simple",
     {"r = a\u00b7T / wp     if T \u2264 wp",
      "r = a + (1 \u2212 a)\u00b7(T \u2212 wp) / (fc \u2212 wp)     if T > wp"},
     {"a : value at wp", "wp : lower limit", "fc : upper limit"}},
    {"Threshold Superior", {"r = 1     if T > Vb", "r = 0     otherwise"}, {"Vb : threshold"}},
    {"Threshold Inferior", {"r = 1     if T < Vb", "r = 0     otherwise"}, {"Vb : threshold"}},
    {"Triangular",
     {"r = (T \u2212 Tmin) / (Topt \u2212 Tmin)     if Tmin \u2264 T < Topt",
      "r = (T \u2212 Tmax) / (Topt \u2212 Tmax)     if Topt \u2264 T < Tmax", "r = 0     otherwise"},
     {"Topt : optimum temperature", "Tmin, Tmax : minimum and maximum temperature"}},
    {"Triangular Inverse",
     {"r = 1 \u2212 (T \u2212 Tmin) / (Topt \u2212 Tmin)     if Tmin \u2264 T < Topt",
      "r = 1 \u2212 (T \u2212 Tmax) / (Topt \u2212 Tmax)     if Topt \u2264 T < Tmax", "r = 1     otherwise"},
     {"Topt : optimum temperature", "Tmin, Tmax : minimum and maximum temperature"}},
    {"Wang",
     {"\u03b1 = ln 2 / ln((Tmax \u2212 Tmin) / (Topt \u2212 Tmin))",
      "r = [2(T \u2212 Tmin)^{\u03b1}(Topt \u2212 Tmin)^{\u03b1} \u2212 (T \u2212 Tmin)^{2\u03b1}] / (Topt "
      "\u2212 Tmin)^{2\u03b1}",
      "     if Tmin < T \u2264 Tmax,   r = 0 otherwise"},
     {"Topt : optimum temperature", "Tmin, Tmax : minimum and maximum temperature"}},
    {"White",
     {"r = 1     if T \u2264 T1, or if DL \u2264 DLcrit and T \u2264 T2", "r = 0     otherwise",
      "DL : day length"},
     {"DLcrit : day length threshold (h)", "T1, T2 : temperatures"}},
    {"NA", {"No formula picture for this function."}, {}, "Formula not available"},
};

const int MIN_WIDTH = 380;
const int MARGIN = 14;

// Draws one line with its raised and lowered pieces; returns the width used.
qreal DrawMarkup(QPainter* p, qreal x, qreal baseline, const QString& text, const QFont& font) {
    QFont small = font;
    small.setPointSizeF(font.pointSizeF() * 0.72);
    const QFontMetricsF fm(font), sm(small);
    const qreal x0 = x;
    int i = 0;
    while (i < text.size()) {
        const bool script = i + 1 < text.size() && (text[i] == '^' || text[i] == '_') && text[i + 1] == '{';
        if (script) {
            const int end = text.indexOf('}', i + 2);
            const QString piece = text.mid(i + 2, end - i - 2);
            const qreal shift = text[i] == '^' ? -fm.ascent() * 0.45 : fm.descent() * 0.9;
            if (p != nullptr) {
                p->setFont(small);
                p->drawText(QPointF(x, baseline + shift), piece);
            }
            x += sm.horizontalAdvance(piece);
            i = end + 1;
        } else {
            int next = i;
            while (next < text.size() && !((text[next] == '^' || text[next] == '_') &&
                                           next + 1 < text.size() && text[next + 1] == '{'))
                ++next;
            const QString piece = text.mid(i, next - i);
            if (p != nullptr) {
                p->setFont(font);
                p->drawText(QPointF(x, baseline), piece);
            }
            x += fm.horizontalAdvance(piece);
            i = next;
        }
    }
    return x - x0;
}

QImage Draw(const TFormula& f) {
    QFont title(QStringLiteral("DejaVu Sans"), 13, QFont::Bold);
    QFont formula(QStringLiteral("DejaVu Serif"), 11);
    QFont label(QStringLiteral("DejaVu Sans"), 9);
    QFont labelBold = label;
    labelBold.setBold(true);
    const QFontMetricsF tm(title), fm(formula), lm(label);
    const qreal formulaStep = fm.height() * 1.55;
    const qreal labelStep = lm.height() * 1.3;

    // As wide as the longest line needs.
    qreal width = MIN_WIDTH;
    for (const char* line : f.lines)
        width =
            std::max(width, DrawMarkup(nullptr, 0, 0, QString::fromUtf8(line), formula) + 2 * MARGIN + 20);
    for (const char* param : f.params)
        width = std::max(width, lm.horizontalAdvance(QString::fromUtf8(param)) + 2 * MARGIN + 20);
    qreal height = MARGIN + tm.height() + 10 + f.lines.size() * formulaStep + 6;
    if (!f.params.empty()) height += lm.height() * 1.6 + f.params.size() * labelStep;
    height += MARGIN;

    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QColor(200, 205, 215));
    p.drawRect(0, 0, image.width() - 1, image.height() - 1);

    qreal y = MARGIN + tm.ascent();
    p.setPen(QColor(28, 63, 148));
    p.setFont(title);
    p.drawText(QPointF(MARGIN, y), QString::fromUtf8(f.title != nullptr ? f.title : f.name));
    y += tm.descent() + 5;
    p.setPen(QColor(200, 205, 215));
    p.drawLine(QPointF(MARGIN, y), QPointF(width - MARGIN, y));
    y += 5 + fm.ascent() + formulaStep * 0.25;

    p.setPen(Qt::black);
    for (const char* line : f.lines) {
        DrawMarkup(&p, MARGIN + 12, y, QString::fromUtf8(line), formula);
        y += formulaStep;
    }
    if (!f.params.empty()) {
        y += lm.height() * 0.4;
        p.setPen(QColor(60, 60, 60));
        p.setFont(labelBold);
        p.drawText(QPointF(MARGIN, y), QStringLiteral("Parameters"));
        y += labelStep;
        p.setFont(label);
        for (const char* param : f.params) {
            p.drawText(QPointF(MARGIN + 12, y), QString::fromUtf8(param));
            y += labelStep;
        }
    }
    p.end();
    // A palette picture: a few kilobytes where true colour would take hundreds.
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
}

void Put16(QByteArray& b, int v) {
    b.append(char(v & 0xff)).append(char((v >> 8) & 0xff));
}
void Put32(QByteArray& b, qint64 v) {
    Put16(b, int(v & 0xffff));
    Put16(b, int((v >> 16) & 0xffff));
}

// An 8-bit run-length bitmap: the white page shrinks to a few bytes a row, where a plain
// 8-bit file keeps one byte a pixel.
bool SaveRle8(const QImage& image, const QString& path) {
    QByteArray data;
    for (int y = image.height() - 1; y >= 0; --y) { // rows bottom-up
        const uchar* row = image.constScanLine(y);
        int x = 0;
        while (x < image.width()) {
            int run = 1;
            while (x + run < image.width() && run < 255 && row[x + run] == row[x])
                ++run;
            data.append(char(run)).append(char(row[x]));
            x += run;
        }
        data.append('\0').append('\0'); // end of row
    }
    data.append('\0').append(char(1)); // end of picture
    const QList<QRgb> colours = image.colorTable();
    const int offset = 14 + 40 + 4 * int(colours.size());
    QByteArray file("BM");
    Put32(file, offset + data.size());
    Put32(file, 0);
    Put32(file, offset);
    Put32(file, 40);
    Put32(file, image.width());
    Put32(file, image.height());
    Put16(file, 1);
    Put16(file, 8);
    Put32(file, 1); // BI_RLE8
    Put32(file, data.size());
    Put32(file, 3780); // 96 dpi
    Put32(file, 3780);
    Put32(file, colours.size());
    Put32(file, 0);
    for (QRgb c : colours)
        file.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
    file.append(data);
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(file) == file.size() && out.flush();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    bool ok = true;
    for (const TFormula& f : FORMULAS) {
        const QString path =
            out + QStringLiteral("/formula_") + QString::fromUtf8(f.name) + QStringLiteral(".bmp");
        const QImage picture = Draw(f);
        // Read back: the file must give the same picture.
        const bool saved = SaveRle8(picture, path) && QImage(path).convertToFormat(QImage::Format_RGB32) ==
                                                          picture.convertToFormat(QImage::Format_RGB32);
        std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
        ok &= saved;
    }
    return ok ? 0 : 1;
}
