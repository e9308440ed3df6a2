#pragma once
// Bases of the chart windows and of the windows that open and track them.

#include <QDialog>
#include <QWidget>

class IChartForm : public QWidget {
public:
    using QWidget::QWidget;
};

class IChartMgrForm : public QDialog {
public:
    using QDialog::QDialog;
    // A chart window leaving for good unregisters itself; unknown charts are ignored.
    virtual void RemoveChart(IChartForm* a_chart) = 0;
};
