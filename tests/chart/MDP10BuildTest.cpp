#include <gtest/gtest.h>

#include <string>

#include "AllocCounter.h"
#include "MDP10Build.h"
#include "MDParser10.h"
#include "ParserTestTools.h"

namespace {

struct TreeCase {
    const char* Text;
    const char* Tree;
};

TEST(ExpressionCompiler, GroupsAndOrdersTerms) {
    const TreeCase cases[] = {
        // "+" and "*" group to the right, "-", "/", DIV and MOD to the left.
        {"A+B+C", "sum(A,sum(B,C))"},
        {"A-B-C", "diff(diff(A,B),C)"},
        {"A*B*C", "prod(A,prod(B,C))"},
        {"A/B/C", "divis(divis(A,B),C)"},
        {"ADIVBDIVC", "IntDiv(IntDiv(A,B),C)"},
        {"AMODBMODC", "modulo(modulo(A,B),C)"},
        {"A+B*C", "sum(A,prod(B,C))"},
        {"A*B+C", "sum(prod(A,B),C)"},
        {"A-B*C", "diff(A,prod(B,C))"},
        {"A*B-C", "diff(prod(A,B),C)"},
        {"A-B+C", "sum(diff(A,B),C)"},
        {"A+B-C", "sum(A,diff(B,C))"},
        {"A/B*C", "prod(divis(A,B),C)"},
        {"A*B/C", "prod(A,divis(B,C))"},
        {"A*B^2", "prod(A,square(B))"},
        {"(A+B)*(C+D)", "prod(sum(A,B),sum(C,D))"},
        {"((X+1))", "sum(X,1)"},
        {"  X+1  ", "sum(X,1)"},
        // Signs.
        {"-X^2", "minus(square(X))"},
        {"-X+1", "sum(minus(X),1)"},
        {"-X-1", "diff(minus(X),1)"},
        {"-2-1", "diff(-2,1)"},
        {"-X*2", "prod(minus(X),2)"},
        {"2*(-X)", "prod(2,minus(X))"},
        {"-(X+1)", "minus(sum(X,1))"},
        {"X+-1", "sum(X,-1)"},
        {"2^-1", "integerpower(2,-1)"},
        // Powers: the written exponent picks the token.
        {"x^2", "square(X)"},
        {"X^3", "third(X)"},
        {"X^4", "fourth(X)"},
        {"X^2.0", "square(X)"},
        {"X^1", "integerpower(X,1)"},
        {"X^0", "integerpower(X,0)"},
        {"X^-1", "integerpower(X,-1)"},
        {"X^0.5", "realpower(X,0.5)"},
        {"X^Y", "realpower(X,Y)"},
        {"X^(2)", "square(X)"},
        {"X^((-1))", "integerpower(X,-1)"},
        {"(A^B)^C", "realpower(realpower(A,B),C)"},
        {"(-2)^3", "third(-2)"},
        // Calls.
        {"SIN(X)+1", "sum(SIN(X),1)"},
        {"SIN((X))", "SIN(X)"},
        {"-SIN(X)", "minus(SIN(X))"},
        {"sqrt(x)^2", "square(SQRT(X))"},
        {"MAX(MIN(A,B),C)", "MAX(MIN(A,B),C)"},
        {"MAX((A),-B)", "MAX(A,minus(B))"},
        {"XDIV2", "IntDiv(X,2)"},
        {"XMOD2", "modulo(X,2)"},
        // Leaves.
        {"X", "X"},
        {"2.5", "2.5"},
        {"1E3", "1000"},
        {"1e3", "1000"},
        {"+.5", "0.5"},
        {"X*1E-5", "prod(X,1e-05)"},
    };
    TMDParser parser;
    for (const auto& c : cases) {
        ASSERT_TRUE(parser.ParseExpression(c.Text)) << c.Text;
        EXPECT_EQ(CompiledTree(parser), c.Tree) << c.Text;
    }
}

TEST(ExpressionCompiler, ConstantsPiAndOperandCells) {
    TMDParser parser;
    ASSERT_TRUE(parser.ParseExpression("-PI"));
    EXPECT_EQ(parser.Value(), -std::numbers::pi_v<ParserFloat>);

    // A lone variable: one do-nothing record whose result is the variable's own cell.
    ASSERT_TRUE(parser.ParseExpression("X"));
    POperation op = parser.LinkedOperationList();
    ASSERT_NE(op, nullptr);
    EXPECT_EQ(op->NextOperation, nullptr);
    EXPECT_EQ(op->Token, TToken::variab);
    EXPECT_EQ(op->Dest, op->Arg1);
    EXPECT_EQ(op->Dest, parser.SetVariable("X", 0));

    // Operations come deepest first, so the root is last and one forward pass evaluates it.
    ASSERT_TRUE(parser.ParseExpression("(A+B)*C"));
    op = parser.LinkedOperationList();
    EXPECT_EQ(op->Token, TToken::sum);
    EXPECT_EQ(op->NextOperation->Token, TToken::prod);
    EXPECT_EQ(op->NextOperation->Arg1, op->Dest);
    EXPECT_EQ(op->NextOperation->NextOperation, nullptr);
}

struct ErrorCase {
    const char* Text;
    const char* Message;
    bool Error; // the compiler's error flag
};

template <class E> void ExpectCompileError(const ErrorCase& c) {
    TParserVariables variables;
    ParserFloat x = 0, y = 0;
    variables["X"] = &x;
    variables["Y"] = &y;
    TParserFunctions one{{"SIN", MDRoutines::Sin}}, two{{"MAX", MDRoutines::Max}, {"MIN", MDRoutines::Min}};
    TOperationList list;
    bool error = !c.Error;
    try {
        ParseFunction(c.Text, variables, one, two, true, list, error);
        ADD_FAILURE() << "compiled: " << c.Text;
    } catch (const E& e) {
        EXPECT_EQ(std::string(e.what()), c.Message) << c.Text;
    }
    EXPECT_EQ(error, c.Error) << c.Text;
    EXPECT_EQ(list.First(), nullptr) << c.Text;
}

TEST(ExpressionCompiler, SyntaxErrorsNameTheFailingSplit) {
    const ErrorCase cases[] = {
        {")X(", "Error parsing expression:\r)X(", true},
        {"SINX", "Error parsing expression:\rSINX", true},
        {"FOO(X)", "Error parsing expression:\rFOO(X)", true},
        {"X^Y^X", "Error parsing expression:\rX^Y\rX", true},
        {"--X", "Error parsing expression:\r-\rX", true},
        {"2*-X", "Error parsing expression:\r2\r-X", true},
        {"X+", "Error parsing expression:\rX+", true},
        {"MAX(X)", "Error parsing expression:\rMAX(X)", true},
        {"MAX(,X)", "Error parsing expression:\rMAX(,X)", true},
        {"MIN(X,Y,X)", "Error parsing expression:\rX,Y\rX", true},
        {"1E", "Error parsing expression:\r1E", true},
        {"INF", "Error parsing expression:\rINF", true},
        {"", "Error parsing expression:\r", true},
        {"   ", "Error parsing expression:\r", true},
        {"()", "Error parsing expression:\r()", true},
    };
    for (const auto& c : cases)
        ExpectCompileError<ESyntaxError>(c);
}

TEST(ExpressionCompiler, TextErrorsLeaveTheFlagClear) {
    ExpectCompileError<EExpressionHasBlanks>({"X + 1", "Expression has blanks", false});
    ExpectCompileError<EExpressionHasBlanks>({"X DIV 2", "Expression has blanks", false});
    ExpectCompileError<EMissMatchingBracket>({"(X+1", "Missing brackets in expression", false});
    ExpectCompileError<EMissMatchingBracket>({"SIN(X))", "Missing brackets in expression", false});
}

std::string Sum(int terms) {
    std::string s = "X";
    for (int i = 1; i < terms; ++i)
        s += "+X";
    return s;
}

// A full binary tree of products: level k holds 2^(k-1) operations.
std::string ProductTree(int depth) {
    return depth == 0 ? "X" : "(" + ProductTree(depth - 1) + ")*(" + ProductTree(depth - 1) + ")";
}

TEST(ExpressionCompiler, NestingAndComplexityLimits) {
    TMDParser parser;
    EXPECT_TRUE(parser.ParseExpression(Sum(21)));
    EXPECT_TRUE(parser.ParseExpression(ProductTree(6))); // 32 operations on the deepest level

    const char* nestings = "Expression contains too many nestings";
    ExpectCompileError<ETooManyNestings>({Sum(22).c_str(), nestings, true});
    ExpectCompileError<EExpressionTooComplex>({ProductTree(7).c_str(), "Expression is too complex", true});
    // Far too deep for the stack if classified naively: still the nesting error.
    const std::string deep = std::string(100000, '(') + "X" + std::string(100000, ')');
    ExpectCompileError<ETooManyNestings>({deep.c_str(), nestings, true});
    ExpectCompileError<ETooManyNestings>({Sum(50000).c_str(), nestings, true});
    const std::string deepCall = [] {
        std::string s = "X";
        for (int i = 0; i < 5000; ++i)
            s = "SIN(" + s + ")";
        return s;
    }();
    ExpectCompileError<ETooManyNestings>({deepCall.c_str(), nestings, true});
}

std::string Chain(const std::string& term, const std::string& op, int terms) {
    std::string s = term;
    for (int i = 1; i < terms; ++i)
        s += op + term;
    return s;
}

TEST(ExpressionCompiler, LongChainsAreRefusedInOnePass) {
    const char* nestings = "Expression contains too many nestings";
    TMDParser parser;
    for (const char* op : {"-", "/", "DIV", "MOD", "*", "+"}) {
        EXPECT_TRUE(parser.ParseExpression(Chain("X", op, MAX_NESTING_LEVEL + 1))) << op;
        ExpectCompileError<ETooManyNestings>({Chain("X", op, MAX_NESTING_LEVEL + 2).c_str(), nestings, true});
        // Classifying every span of such a chain took seconds and a table per span.
        const std::string chain = Chain("X", op, 1000);
        const long before = HeapAllocations();
        EXPECT_THROW(parser.ParseExpression(chain), ETooManyNestings) << op;
        EXPECT_LT(HeapAllocations() - before, 100) << op;
    }
    // Each would be refused if signs and exponents counted as operators, or if brackets,
    // argument commas and looser operators did not end a run.
    for (const std::string& text :
         {Chain("-1E-5", "-", 21), Chain("1E+5", "-", 21), Chain("(" + Chain("X", "-", 11) + ")", "-", 10),
          Chain(Chain("X", "-", 4), "+", 8), Chain(Chain("X", "/", 4), "*", 8),
          Chain(Chain("X", "*", 4), "-", 8), "MAX(" + Chain("X", "-", 15) + "," + Chain("Y", "-", 15) + ")"})
        EXPECT_TRUE(parser.ParseExpression(text)) << text;
}

TEST(ExpressionCompiler, CommaAsDecimalSeparatorWithoutPascalNumbers) {
    TMDParser parser;
    parser.SetPascalNumberformat(false);
    ASSERT_TRUE(parser.ParseExpression("1,5*2"));
    EXPECT_EQ(parser.Value(), 3);
    ASSERT_TRUE(parser.ParseExpression("MAX(1,5,2)")); // the first comma giving two terms splits
    EXPECT_EQ(parser.Value(), 5.2L);
    parser.SetPascalNumberformat(true);
    EXPECT_THROW(parser.ParseExpression("MAX(1,5,2)"), ESyntaxError);
}

} // namespace
