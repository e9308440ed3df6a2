#include "TabColumns.h"

#include <QFontMetricsF>
#include <QHash>
#include <algorithm>
#include <vector>

QList<QTextOption::Tab> ColumnTabStops(const QStringList& lines, const QFont& font) {
    const QFontMetricsF metrics(font);
    // Outputs repeat their cells (years, flags, days): each text is measured once.
    QHash<QString, qreal> measured;
    std::vector<qreal> widths;
    for (const QString& line : lines) {
        if (!line.contains(QLatin1Char('\t'))) continue;
        const QStringList cells = line.split(QLatin1Char('\t'));
        // The last cell needs no stop after it.
        for (qsizetype j = 0; j + 1 < cells.size(); ++j) {
            auto at = measured.constFind(cells[j]);
            if (at == measured.constEnd())
                at = measured.insert(cells[j], metrics.horizontalAdvance(cells[j]));
            if (widths.size() <= static_cast<size_t>(j)) widths.resize(static_cast<size_t>(j) + 1, 0);
            widths[static_cast<size_t>(j)] = std::max(widths[static_cast<size_t>(j)], at.value());
        }
    }
    const qreal gap = metrics.horizontalAdvance(QStringLiteral("  "));
    QList<QTextOption::Tab> stops;
    qreal x = 0;
    for (const qreal w : widths) {
        x += w + gap;
        stops.append(QTextOption::Tab(x, QTextOption::LeftTab));
    }
    return stops;
}
