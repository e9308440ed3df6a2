#pragma once
// What the repetition chart manager lets the user choose for its charts.

#include <string>

#include "ChartTypes.h"

struct TRChartDOptions {
    bool draw_used_to_fit_only = false;
    TDrawStyle draw_mode = TDrawStyle::dsLines;
    bool draw_one_one = false;
    bool draw_lin_reg = false;
    bool draw_pow_reg = false;
    int pow_num = 0; // degree of the polynomial regression
    bool draw_bg = false;
    std::string func_params; // a function chart's legend text: the function's description
};
