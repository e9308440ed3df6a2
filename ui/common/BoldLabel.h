#pragma once
// A label in the bold face of the platform font: the windows' captions over their controls.

#include <QString>

class QLabel;
class QWidget;

QLabel* BoldLabel(const QString& text, QWidget* parent = nullptr);
