#include "ModelFunction.h"

#include <charconv>
#include <cmath>

#include "HourlyTemps.h"
#include "OrvexError.h"

namespace {
// Shortest round-trip text; never locale-dependent.
std::string NumberForMessage(double v) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

// What Run passes as the day record: a day that carries no data.
const TRWeatherDay& NoDataDay() {
    static const TRWeatherDay day = CreateMissingWeatherDay();
    return day;
}
} // namespace

TModelFunction::TModelFunction(const char* displayName, int nbParams, int optimLevel, bool overlap, int coeff)
    : optimLvl(optimLevel), name(displayName), overlapCompatible(overlap), coeffCrit(coeff) {
    param.number_of_parameters = nbParams;
    param.var_value.assign(static_cast<std::size_t>(nbParams), 0.0);
    param.fixed_param.assign(static_cast<std::size_t>(nbParams), false);
    varInfos.assign(static_cast<std::size_t>(nbParams), TRVarInfo{});
}

void TModelFunction::checkIndex(int i) const {
    if (i < 0 || i >= param.number_of_parameters)
        throw EOrvexError("Function " + name + " has no parameter " + std::to_string(i));
}

int TModelFunction::nbOfFittedParameters() const {
    int n = 0;
    for (bool fixed : param.fixed_param)
        if (!fixed) ++n;
    return n;
}

double TModelFunction::getParameterValue(int i) const {
    checkIndex(i);
    return param.var_value[static_cast<std::size_t>(i)];
}

void TModelFunction::setParameterValue(int i, double value) {
    checkIndex(i);
    param.var_value[static_cast<std::size_t>(i)] = value;
}

void TModelFunction::fixParameter(int i, double value) {
    setParameterValue(i, value);
    param.fixed_param[static_cast<std::size_t>(i)] = true;
}

void TModelFunction::releaseParameter(int i) {
    checkIndex(i);
    param.fixed_param[static_cast<std::size_t>(i)] = false;
}

bool TModelFunction::parameterFixed(int i) const {
    checkIndex(i);
    return param.fixed_param[static_cast<std::size_t>(i)];
}

int TModelFunction::realParamID(int k) const {
    if (k < 0) return -1;
    for (int i = 0; i < param.number_of_parameters; ++i) {
        if (param.fixed_param[static_cast<std::size_t>(i)]) continue;
        if (k == 0) return i;
        --k;
    }
    return -1;
}

void TModelFunction::setFittedParameterValue(int k, double value) {
    const int i = realParamID(k);
    if (i < 0) throw EOrvexError("Function " + name + " has no free parameter " + std::to_string(k));
    param.var_value[static_cast<std::size_t>(i)] = value;
}

double TModelFunction::runHourly(const TWeatherYear& Wi, int i, int optim) {
    if (tempHourFunction == nullptr)
        throw EOrvexError("Function " + name +
                          " works on hourly temperatures but has no hourly temperature function");
    // Hourly kinds that read the day record get the day itself.
    const TRWeatherDay& wd = Wi.GetDay(i);
    THourTemps t;
    HourlyTemperatures(tempHourFunction, Wi, i, t);
    double sum = 0.0;
    for (double x : t)
        sum += runDaily(wd, x, optim);
    return sum;
}

double TModelFunction::Run(double value, int optim) {
    return runDaily(NoDataDay(), value, optim);
}

void TModelFunction::workWithTempHour(const TTempHourFunc* f) {
    if (f != nullptr) {
        tempHour = true;
        tempHourFunction = f->interpolationFunc;
        TempHourFuncName = f->name;
    } else {
        tempHour = false;
        tempHourFunction = nullptr;
        TempHourFuncName.clear();
    }
}

std::unique_ptr<TModelFunction> TModelFunction::Clone() const {
    auto c = GetFunction(name);
    c->phaseNum = phaseNum;
    c->phasePos = phasePos;
    c->weatherDataColumn = weatherDataColumn;
    c->useDayLengthAsVar = useDayLengthAsVar;
    c->varLinkMode = varLinkMode;
    c->weight = weight;
    c->tempHour = tempHour;
    c->tempHourFunction = tempHourFunction;
    c->TempHourFuncName = TempHourFuncName;
    c->param = param;
    c->varInfos = varInfos;
    return c;
}

double TModelFunction::checkedExp(double x) const {
    // exp overflows a double just above 709.78.
    if (x > 709.0) {
        const double r = std::exp(x);
        if (std::isinf(r)) raiseFault("overflow");
        return r;
    }
    return std::exp(x);
}

void TModelFunction::raiseFault(const char* what) const {
    std::string params;
    for (int i = 0; i < param.number_of_parameters; ++i) {
        if (i > 0) params += ", ";
        params +=
            "p" + std::to_string(i) + " = " + NumberForMessage(param.var_value[static_cast<std::size_t>(i)]);
    }
    throw EOrvexError("Floating point " + std::string(what) + " in function " + name +
                      (params.empty() ? std::string() : " (" + params + ")"));
}
