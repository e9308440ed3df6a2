#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "AllocCounter.h"
#include "MDP10Build.h"
#include "MDParser10.h"
#include "MDParserRoutines.h"

namespace {

constexpr const char* kNestings = "Expression contains too many nestings";

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
    // The text, then the split that failed.
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {")X(", ")X("}, {"SINX", "SINX"}, {"FOO(X)", "FOO(X)"}, {"X^Y^X", "X^Y\rX"}, {"--X", "-\rX"},
        {"2*-X", "2\r-X"}, {"X+", "X+"}, {"MAX(X)", "MAX(X)"}, {"MAX(,X)", "MAX(,X)"},
        {"MIN(X,Y,X)", "X,Y\rX"}, {"1E", "1E"}, {"INF", "INF"}, {"", ""}, {"   ", ""}, {"()", "()"}};
    // clang-format on
    for (const auto& [text, split] : cases) {
        const std::string message = std::string("Error parsing expression:\r") + split;
        ExpectCompileError<ESyntaxError>({text, message.c_str(), true});
    }
}

TEST(ExpressionCompiler, TextErrorsLeaveTheFlagClear) {
    ExpectCompileError<EExpressionHasBlanks>({"X + 1", "Expression has blanks", false});
    ExpectCompileError<EExpressionHasBlanks>({"X DIV 2", "Expression has blanks", false});
    ExpectCompileError<EMissMatchingBracket>({"(X+1", "Missing brackets in expression", false});
    ExpectCompileError<EMissMatchingBracket>({"SIN(X))", "Missing brackets in expression", false});
}

std::string Chain(const std::string& term, const std::string& op, int terms) {
    std::string s = term;
    for (int i = 1; i < terms; ++i)
        s += op + term;
    return s;
}

// A full binary tree of products: level k holds 2^(k-1) operations.
std::string ProductTree(int depth) {
    return depth == 0 ? "X" : "(" + ProductTree(depth - 1) + ")*(" + ProductTree(depth - 1) + ")";
}

TEST(ExpressionCompiler, NestingAndComplexityLimits) {
    TMDParser parser;
    EXPECT_TRUE(parser.ParseExpression(ProductTree(6))); // 32 operations on the deepest level

    ExpectCompileError<EExpressionTooComplex>({ProductTree(7).c_str(), "Expression is too complex", true});
    // Far too deep for the stack if classified naively: still the nesting error.
    const std::string deep = std::string(100000, '(') + "X" + std::string(100000, ')');
    ExpectCompileError<ETooManyNestings>({deep.c_str(), kNestings, true});
    ExpectCompileError<ETooManyNestings>({Chain("X", "+", 50000).c_str(), kNestings, true});
    const std::string deepCall = Chain("SIN(", "", 5000) + "X" + std::string(5000, ')');
    ExpectCompileError<ETooManyNestings>({deepCall.c_str(), kNestings, true});
}

TEST(ExpressionCompiler, LongChainsAreRefusedInOnePass) {
    TMDParser parser;
    for (const char* op : {"-", "/", "DIV", "MOD", "*", "+"}) {
        EXPECT_TRUE(parser.ParseExpression(Chain("X", op, MAX_NESTING_LEVEL + 1))) << op;
        ExpectCompileError<ETooManyNestings>(
            {Chain("X", op, MAX_NESTING_LEVEL + 2).c_str(), kNestings, true});
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
