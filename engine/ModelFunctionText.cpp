// Parts of a function that read the settings file for the optimiser and for text output.

#include "ModelFunction.h"
#include "OrvexError.h"
#include "UtilStuff.h"

void TModelFunction::initFittedParameterValue(int k, TRVarInfo& info) {
    const int i = realParamID(k);
    LogIt("initFittedParameterValue >> " + std::to_string(i));
    parameterInitValues(i, info);
    param.var_value[static_cast<std::size_t>(i)] = info.value;
}

std::string TModelFunction::toString(int i) {
    std::string s = name;
    for (int p = 0; p < param.number_of_parameters; ++p) {
        TRVarInfo info;
        parameterInitValues(p, info);
        const double v = param.var_value[static_cast<std::size_t>(p)];
        s += '\n';
        s += info.name;
        if (i == -1)
            s += ": " + myFloatToStr(v, info);
        else
            s += "<" + std::to_string(i) + ">: " + myFloatToStr(v, info);
    }
    return s;
}
