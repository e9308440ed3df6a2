#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "MDParser10.h"
#include "MDParserRoutines.h"

namespace {

constexpr ParserFloat kPi = std::numbers::pi_v<ParserFloat>;

struct ValueCase {
    const char* Text;
    ParserFloat Expected;
};

TEST(MDParser, EvaluatesOperatorsAndBuiltIns) {
    // clang-format off
    const ValueCase cases[] = {
        {"2+3*4", 14}, {"10-3-2", 5}, {"2*(3+4)", 14}, {"12/3/2", 2}, {"2^10", 1024}, {"2^-2", 0.25},
        {"2^0", 1}, {"(-2)^3", -8}, {"(-2)^2", 4}, {"(-2)^(2)", 4}, {"3^4", 81}, {"4^0.5", 2}, {"-3^2", -9},
        {"7MOD-2", 1}, {"-7MOD2", -1}, {"7DIV-2", -3}, {"7.9DIV2", 3}, {"SQRT(0)", 0}, {"SQR(3)", 9},
        {"HEAV(0)", 1}, {"HEAV(-0.1)", 0}, {"SIGN(0)", 0}, {"SIGN(-3)", -1}, {"ZERO(5)", 1}, {"ZERO(0)", 0},
        {"TRUNC(-1.5)", -1}, {"INT(-1.5)", -1}, {"CEIL(-1.5)", -1}, {"CEIL(1.5)", 2}, {"CEIL(2)", 2},
        {"FLOOR(-1.5)", -2}, {"FLOOR(1.5)", 1}, {"FLOOR(2)", 2}, {"FLOOR(-2)", -2}, {"FLOOR(0)", 0},
        {"FLOOR(0.5)", 0}, {"FLOOR(-0.5)", -1}, {"CEIL(-2)", -2}, {"CEIL(0)", 0}, {"CEIL(0.5)", 1},
        {"CEIL(-0.5)", 0}, {"ABS(-2)", 2}, {"ARG(0,0)", -kPi / 2},
        {"ARG(0,1)", kPi / 2}, {"ARG(-1,0)", kPi}, {"ARG(1,1)", kPi / 4}, {"LOGN(2,8)", 3}, {"LN(1)", 0},
        {"LOG10(1000)", 3}, {"LOG2(8)", 3}, {"MAX(1,2)", 2}, {"MIN(1,2)", 1}, {"POWER(2,3)", 8},
        {"INTPOWER(2,-1)", 0.5}, {"EXP(0)", 1}, {"SINH(0)", 0}, {"COSH(0)", 1}, {"COS(0)", 1},
        {"SIN(PI/2)", 1}, {"TAN(0)", 0}, {"ARCTAN(1)", kPi / 4}, {"COTAN(PI/4)", 1},
        {"PH(1)", kPi * kPi - 4 * kPi}, {"PH(0)", 0}, {"2*PI", 2 * kPi}, {"1E3", 1000}, {"-2-1", -3},
        {"-X-1", -1}, {"-PI", -kPi},
        // "+" and "*" group to the right, "-", "/", DIV and MOD to the left, signs bind first.
        {"2-3+4", 3}, {"12/3*2", 8}, {"2*3/4", 1.5}, {"17DIV2DIV3", 2}, {"17MOD7MOD2", 1}, {"-(2+1)", -3},
        {"2*(-X)", 0}, {"X+-1", -1}, {"(2^3)^2", 64}, {"sqrt(9)^2", 9}, {"MAX(MIN(1,2),0)", 1},
        {"MAX((1),-2)", 1}, {"((X+1))", 1}, {"+.5", 0.5}, {"1e3*1E-5", 0.01},
    };
    // clang-format on
    TMDParser parser;
    for (const auto& c : cases) {
        ASSERT_TRUE(parser.ParseExpression(c.Text)) << c.Text;
        const ParserFloat v = parser.Value();
        EXPECT_FALSE(parser.CalcError()) << c.Text;
        EXPECT_NEAR(static_cast<double>(v), static_cast<double>(c.Expected), 1e-12) << c.Text;
    }
}

TEST(MDParser, DomainErrorsSetTheFlag) {
    // clang-format off
    const char* cases[] = {
        "1/X", "XMOD0.5", "XDIV0.5", "LN(0)", "LN(-1)", "LOG10(0)", "LOG2(-1)", "SQRT(-1)", "COTAN(0)",
        "LOGN(1,0)", "LOGN(0,2)", "LOGN(1,5)", "(-8)^(1/3)", "POWER(0,2)", "X^0.5",
        // Outside the 64-bit range of a truncation.
        "1E30MOD2", "5MOD1E19", "1E19DIV3", "-9223372036854775808DIV-1", "2^1E30", "INTPOWER(2,1E20)",
        // Results that are not finite.
        "EXP(1E5)", "SINH(20000)", "COSH(-20000)", "2^100000", "1.0000001^1000000000000000", "0^-1",
        "INTPOWER(0,-3)", "1E4000*1E4000",
    };
    // clang-format on
    TMDParser parser;
    for (const char* text : cases) {
        ASSERT_TRUE(parser.ParseExpression(text)) << text;
        parser.Value();
        EXPECT_TRUE(parser.CalcError()) << text;
    }
    // A NaN or infinite variable is caught the same way.
    parser.SetX(std::numeric_limits<ParserFloat>::quiet_NaN());
    parser.ParseExpression("X+1");
    parser.Value();
    EXPECT_TRUE(parser.CalcError());
    parser.SetX(2); // an error in one evaluation does not stick to the next
    EXPECT_EQ(parser.Value(), 3);
    EXPECT_FALSE(parser.CalcError());
}

TEST(MDParser, VariablesChangeWithoutRecompiling) {
    TMDParser parser;
    parser.SetX(2);
    ASSERT_TRUE(parser.ParseExpression("X^2"));
    const POperation compiled = parser.LinkedOperationList();
    EXPECT_EQ(parser.Value(), 4);
    parser.SetVariable("x", 4);
    EXPECT_EQ(parser.Value(), 16);
    EXPECT_EQ(parser.LinkedOperationList(), compiled);

    PParserFloat radius = parser.SetVariable("radius", 2);
    ASSERT_TRUE(parser.ParseExpression("PI*RADIUS^2/(1+X)"));
    EXPECT_NEAR(static_cast<double>(parser.Value()), static_cast<double>(4 * kPi / 5), 1e-15);
    *radius = 1;
    parser.SetVariable("RADIUS", 3);
    EXPECT_NEAR(static_cast<double>(parser.Value()), static_cast<double>(9 * kPi / 5), 1e-15);
    EXPECT_EQ(parser.GetVariable("unknown"), 0);
}

TEST(MDParser, CompileFailuresGoToTheHandlerOrTheCaller) {
    TMDParser parser;
    EXPECT_EQ(parser.Value(), 0); // nothing compiled

    EXPECT_THROW(parser.ParseExpression("2*-X"), ESyntaxError);
    EXPECT_TRUE(parser.ParserError() && parser.LinkedOperationList() == nullptr);

    int calls = 0;
    parser.SetOnParserError([&](TMDCustomParser&, const EMathParserError&) { ++calls; });
    EXPECT_TRUE(parser.ParseExpression("X+1"));
    EXPECT_FALSE(parser.ParseExpression("X + 1"));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(parser.Value(), 0);

    // An empty text compiles nothing and leaves the error state as it was.
    EXPECT_FALSE(parser.ParseExpression(""));
    EXPECT_TRUE(parser.ParserError() && parser.LinkedOperationList() == nullptr);
    EXPECT_EQ(calls, 1);
}

TEST(MDParser, BadNamesAreRefused) {
    TMDParser parser;
    for (const char* name : {"2X", "XDIV", "amodb", "", "A B", "X-1"})
        EXPECT_THROW(parser.SetVariable(name, 1), EBadName) << name;
    EXPECT_THROW(parser.AddFunctionOneParam("1f", MDRoutines::Sin), EBadName);
    EXPECT_THROW(parser.AddFunctionOneParam("sin", MDRoutines::Cos), EMathParserError);
}

TEST(MDParser, TablesCanBeExtendedAndCleared) {
    TMDParser parser;
    parser.AddFunctionOneParam("half", [](TOperation* op) { *op->Dest = *op->Arg1 / 2; });
    parser.AddFunctionTwoParam("Hyp", [](TOperation* op) { *op->Dest = std::hypot(*op->Arg1, *op->Arg2); });
    ASSERT_TRUE(parser.ParseExpression("HALF(HYP(3,4))"));
    EXPECT_EQ(parser.Value(), 2.5);

    parser.ClearFunction("nothing-such"); // keeps the compiled text
    EXPECT_NE(parser.LinkedOperationList(), nullptr);
    parser.ClearFunction("half");
    EXPECT_EQ(parser.LinkedOperationList(), nullptr);
    EXPECT_THROW(parser.ParseExpression("HALF(2)"), ESyntaxError);

    parser.SetVariable("R", 1);
    ASSERT_TRUE(parser.ParseExpression("R+1"));
    parser.ClearVariable("r");
    EXPECT_EQ(parser.LinkedOperationList(), nullptr);
    EXPECT_FALSE(parser.VariableExists("R"));

    // Built-in names are unknown until set again, and then bound to the same cell.
    parser.ClearVariables();
    EXPECT_THROW(parser.ParseExpression("X+1"), ESyntaxError);
    parser.SetVariable("X", 5);
    EXPECT_EQ(parser.X(), 5);
    ASSERT_TRUE(parser.ParseExpression("X+1"));
    parser.SetX(1);
    EXPECT_EQ(parser.Value(), 2);

    parser.ClearFunctions();
    EXPECT_THROW(parser.ParseExpression("SIN(X)"), ESyntaxError);
}

TEST(MDParser, RandomFunctionsStayInRange) {
    TMDParser parser;
    for (const auto& [text, top] : {std::pair{"RANDOM(0)", 1}, {"RND(10.7)", 10}}) {
        ASSERT_TRUE(parser.ParseExpression(text));
        for (int i = 0; i < 1000; ++i)
            ASSERT_TRUE(parser.Value() >= 0 && parser.Value() < top) << text;
    }
}

} // namespace
