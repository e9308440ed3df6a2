#pragma once
// One routine per operator token and per built-in function. Each reads the operand cells of one
// record, writes its result cell and sets CalcErr instead of raising when it cannot compute.

#include "MDP10Build.h"

namespace MDRoutines {

// Operators.
void Nothing(TOperation* AnOperation);
void Negate(TOperation* AnOperation);
void Add(TOperation* AnOperation);
void Subtract(TOperation* AnOperation);
void Multiply(TOperation* AnOperation);
void RealDivide(TOperation* AnOperation);
void Modulo(TOperation* AnOperation);
void IntDiv(TOperation* AnOperation);
void IntPower(TOperation* AnOperation);
void Power(TOperation* AnOperation);
void Square(TOperation* AnOperation);
void Third(TOperation* AnOperation);
void Forth(TOperation* AnOperation);

// One-argument functions.
void Tan(TOperation* AnOperation);
void Sin(TOperation* AnOperation);
void Cos(TOperation* AnOperation);
void Sinh(TOperation* AnOperation);
void Cosh(TOperation* AnOperation);
void ArcTan(TOperation* AnOperation);
void CoTan(TOperation* AnOperation);
void Exp(TOperation* AnOperation);
void Ln(TOperation* AnOperation);
void Log10(TOperation* AnOperation);
void Log2(TOperation* AnOperation);
void Sqrt(TOperation* AnOperation);
void Abs(TOperation* AnOperation);
void Trunc(TOperation* AnOperation);
void Ceil(TOperation* AnOperation);
void Floor(TOperation* AnOperation);
void Heaviside(TOperation* AnOperation);
void Sign(TOperation* AnOperation);
void Zero(TOperation* AnOperation);
void Phase(TOperation* AnOperation);
void Rnd(TOperation* AnOperation);
void Random(TOperation* AnOperation);

// Two-argument functions.
void Max(TOperation* AnOperation);
void Min(TOperation* AnOperation);
void Arg(TOperation* AnOperation);
void LogN(TOperation* AnOperation);

// The routine that evaluates an operator token (nil for the function-call tokens).
TMathProcedure ForToken(TToken Token);

} // namespace MDRoutines
