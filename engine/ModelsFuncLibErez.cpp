#include "ModelsFuncLibErez.h"

#include <cmath>

double TErez::compute(const TRWeatherDay&, double T, int) {
    const double Tk = T + 273.0;
    if (Tk == 0.0 || p()[5] == 0.0) return 0.0;
    const double v = p()[0] * p()[1] * (Tk - p()[1]) / Tk;
    const double ev = checkedExp(v);
    const double Xi = ev / (ev + 1.0);
    const double ak = checkedExp(-p()[3] / Tk) * p()[5];
    const double Xs = checkedExp((p()[3] - p()[2]) / Tk) * (p()[4] / p()[5]);
    const double interE = Xs - checkedExp(-ak) * (Xs - InterS);
    // A fault must not be carried into the following hours.
    if (!std::isfinite(interE)) raiseFault(std::isnan(interE) ? "invalid operation" : "overflow");
    if (interE < 1.0) {
        InterS = interE;
        return 0.0;
    }
    InterS = (1.0 - Xi) * interE;
    return Xi * interE;
}
