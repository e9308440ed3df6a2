#pragma once
// Tab stops that line up the TAB-separated columns of a text: each column is as wide as its
// widest cell in any line, so a header stands over its data whatever their widths.

#include <QList>
#include <QStringList>
#include <QTextOption>

class QFont;

// One stop per column after the first, a gap of two blanks after the widest cell of each.
QList<QTextOption::Tab> ColumnTabStops(const QStringList& lines, const QFont& font);
