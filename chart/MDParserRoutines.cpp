#include "MDParserRoutines.h"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>

namespace MDRoutines {

namespace {

constexpr ParserFloat kPi = std::numbers::pi_v<ParserFloat>;

ParserFloat A(const TOperation* op) {
    return *op->Arg1;
}
ParserFloat B(const TOperation* op) {
    return *op->Arg2;
}
void Set(TOperation* op, ParserFloat value) {
    *op->Dest = value;
}

// Truncation toward zero to 64 bits; false outside that range (or for NaN).
bool Trunc64(ParserFloat value, std::int64_t& out) {
    constexpr ParserFloat kLimit = 9223372036854775808.0L; // 2^63
    if (!(value >= -kLimit && value < kLimit)) return false;
    out = static_cast<std::int64_t>(value);
    return true;
}

ParserFloat Uniform() {
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    return static_cast<ParserFloat>(generator() >> 11) * 0x1.0p-53L; // [0, 1)
}

} // namespace

void Nothing(TOperation*) {}
void Negate(TOperation* op) {
    Set(op, -A(op));
}
void Add(TOperation* op) {
    Set(op, A(op) + B(op));
}
void Subtract(TOperation* op) {
    Set(op, A(op) - B(op));
}
void Multiply(TOperation* op) {
    Set(op, A(op) * B(op));
}

void RealDivide(TOperation* op) {
    if (B(op) == 0) {
        op->CalcErr = true;
        return;
    }
    Set(op, A(op) / B(op));
}

void Modulo(TOperation* op) {
    std::int64_t a = 0, b = 0;
    if (!Trunc64(A(op), a) || !Trunc64(B(op), b) || b == 0) {
        op->CalcErr = true;
        return;
    }
    Set(op, b == -1 ? 0 : static_cast<ParserFloat>(a % b)); // INT64_MIN % -1 would trap
}

void IntDiv(TOperation* op) {
    std::int64_t a = 0, b = 0;
    if (!Trunc64(A(op), a) || !Trunc64(B(op), b) || b == 0 || (a == INT64_MIN && b == -1)) {
        op->CalcErr = true;
        return;
    }
    Set(op, static_cast<ParserFloat>(a / b));
}

// Square-and-multiply: a huge exponent costs at most 64 steps.
void IntPower(TOperation* op) {
    std::int64_t n = 0;
    if (!Trunc64(B(op), n)) {
        op->CalcErr = true;
        return;
    }
    std::uint64_t e = n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    ParserFloat base = A(op);
    ParserFloat result = 1;
    while (e != 0) {
        if (e & 1) result *= base;
        e >>= 1;
        if (e != 0) base *= base;
    }
    if (n < 0) {
        if (result == 0) {
            op->CalcErr = true;
            return;
        }
        result = 1 / result;
    }
    Set(op, result);
}

void Power(TOperation* op) {
    if (A(op) <= 0) {
        op->CalcErr = true;
        return;
    }
    Set(op, std::pow(A(op), B(op)));
}

void Square(TOperation* op) {
    Set(op, A(op) * A(op));
}
void Third(TOperation* op) {
    Set(op, A(op) * A(op) * A(op));
}
void Forth(TOperation* op) {
    const ParserFloat s = A(op) * A(op);
    Set(op, s * s);
}

void Tan(TOperation* op) {
    const ParserFloat c = std::cos(A(op));
    if (c == 0) {
        op->CalcErr = true;
        return;
    }
    Set(op, std::sin(A(op)) / c);
}

void Sin(TOperation* op) {
    Set(op, std::sin(A(op)));
}
void Cos(TOperation* op) {
    Set(op, std::cos(A(op)));
}
void Sinh(TOperation* op) {
    Set(op, (std::exp(A(op)) - std::exp(-A(op))) * 0.5L);
}
void Cosh(TOperation* op) {
    Set(op, (std::exp(A(op)) + std::exp(-A(op))) * 0.5L);
}
void ArcTan(TOperation* op) {
    Set(op, std::atan(A(op)));
}

void CoTan(TOperation* op) {
    if (A(op) == 0) {
        op->CalcErr = true;
        return;
    }
    Set(op, std::cos(A(op)) / std::sin(A(op)));
}

void Exp(TOperation* op) {
    Set(op, std::exp(A(op)));
}

#define ORVEX_POSITIVE_ONLY(Name, Expr)                                                                      \
    void Name(TOperation* op) {                                                                              \
        if (A(op) <= 0) {                                                                                    \
            op->CalcErr = true;                                                                              \
            return;                                                                                          \
        }                                                                                                    \
        Set(op, Expr);                                                                                       \
    }
ORVEX_POSITIVE_ONLY(Ln, std::log(A(op)))
ORVEX_POSITIVE_ONLY(Log10, std::log10(A(op)))
ORVEX_POSITIVE_ONLY(Log2, std::log2(A(op)))
#undef ORVEX_POSITIVE_ONLY

void Sqrt(TOperation* op) {
    if (A(op) < 0) {
        op->CalcErr = true;
        return;
    }
    Set(op, std::sqrt(A(op)));
}

void Abs(TOperation* op) {
    Set(op, std::fabs(A(op)));
}
void Trunc(TOperation* op) {
    Set(op, std::trunc(A(op)));
}

void Ceil(TOperation* op) {
    const ParserFloat a = A(op);
    Set(op, a - std::trunc(a) > 0 ? std::trunc(a + 1) : std::trunc(a));
}

void Floor(TOperation* op) {
    const ParserFloat a = A(op);
    Set(op, a - std::trunc(a) < 0 ? std::trunc(a - 1) : std::trunc(a));
}

void Heaviside(TOperation* op) {
    Set(op, A(op) < 0 ? 0 : 1);
}
void Sign(TOperation* op) {
    Set(op, A(op) < 0 ? -1 : A(op) > 0 ? 1 : 0);
}
void Zero(TOperation* op) {
    Set(op, A(op) == 0 ? 0 : 1);
}

// The angle a * pi / 2 brought into [-pi, pi] around the nearest whole turn.
void Phase(TOperation* op) {
    const ParserFloat t = A(op) / (2 / kPi);
    Set(op, (t - std::nearbyint(t)) * (2 * kPi));
}

void Rnd(TOperation* op) {
    Set(op, std::trunc(A(op)) * Uniform());
}
void Random(TOperation* op) {
    Set(op, Uniform());
}

void Max(TOperation* op) {
    Set(op, B(op) > A(op) ? B(op) : A(op));
}
void Min(TOperation* op) {
    Set(op, B(op) <= A(op) ? B(op) : A(op));
}

void Arg(TOperation* op) {
    const ParserFloat a = A(op), b = B(op);
    if (a > 0)
        Set(op, std::atan(b / a));
    else if (a < 0)
        Set(op, std::atan(b / a) + kPi);
    else
        Set(op, b > 0 ? kPi / 2 : -kPi / 2);
}

void LogN(TOperation* op) {
    if (A(op) <= 0 || B(op) <= 0) {
        op->CalcErr = true;
        return;
    }
    Set(op, std::log(B(op)) / std::log(A(op)));
}

TMathProcedure ForToken(TToken Token) {
    switch (Token) {
    case TToken::variab:
    case TToken::constant:
        return Nothing;
    case TToken::minus:
        return Negate;
    case TToken::sum:
        return Add;
    case TToken::diff:
        return Subtract;
    case TToken::prod:
        return Multiply;
    case TToken::divis:
        return RealDivide;
    case TToken::modulo:
        return Modulo;
    case TToken::IntDiv:
        return IntDiv;
    case TToken::integerpower:
        return IntPower;
    case TToken::realpower:
        return Power;
    case TToken::square:
        return Square;
    case TToken::third:
        return Third;
    case TToken::fourth:
        return Forth;
    default:
        return nullptr;
    }
}

} // namespace MDRoutines
