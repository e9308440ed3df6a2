#include "ChartNumberText.h"

#include "NumberText.h"

std::string ChartFloatToStrF(long double value, TFloatFormat format, int precision, int digits) {
    TFloatTextFormat text = TFloatTextFormat::General;
    switch (format) {
    case TFloatFormat::ffGeneral:
        text = TFloatTextFormat::General;
        break;
    case TFloatFormat::ffExponent:
        text = TFloatTextFormat::Exponent;
        break;
    case TFloatFormat::ffFixed:
        text = TFloatTextFormat::Fixed;
        break;
    case TFloatFormat::ffNumber:
        text = TFloatTextFormat::Number;
        break;
    case TFloatFormat::ffCurrency:
        text = TFloatTextFormat::Currency;
        break;
    }
    return FloatToStrF(value, text, precision, digits);
}
