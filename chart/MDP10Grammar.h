#pragma once
// The formula grammar: which classifier accepts a term and where it splits it. Each term is tried
// against an ordered set of classifiers; a two-operand classifier splits at the first occurrence of
// its operator, left to right, for which both sides are acceptable to that operator.
// Every answer is remembered per (classifier, span), so a text is classified in polynomial time.

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "MDP10Build.h"

// A piece of the normalised text; every operand text is one.
struct TSpan {
    std::uint32_t Start = 0;
    std::uint32_t Len = 0;
    std::uint32_t End() const { return Start + Len; }
};

enum class TTermKind : std::uint8_t {
    Variable,
    Number,
    Bracket,
    Negation,
    Addition,
    Subtraction,
    Multiplication,
    IntDivision,
    Modulo,
    RealDivision,
    Power,
    FuncOneVar,
    FuncTwoVar,
    Valid, // any of the above
    Count
};

// What a classifier found in a term.
struct TTermSplit {
    TTermKind Kind = TTermKind::Valid;
    TSpan Left;  // first (or only) operand, redundant brackets removed
    TSpan Right; // second operand, redundant brackets removed
    TSpan Name;  // function name of a call
    // The last split attempted, as written; kept for the syntax error text.
    bool Split = false;
    TSpan RawLeft;
    TSpan RawRight;
};

// The longest run of operators that the grammar can only nest one inside another, in any bracket:
// "+" or "*" at one level, binary "-" between two "+", quotients ("/", DIV, MOD) between two
// products or sums. The compiled expression is at least that deep, so a longer run than the
// nesting limit is refused in one pass over the text instead of after classifying every span.
int LongestOperatorChain(std::string_view Text, const TParserVariables& Variables,
                         const TParserFunctions& FunctionOne, const TParserFunctions& FunctionTwo);

class TTermGrammar {
public:
    // Text: upper case, no blanks. Lookups in the tables use the exact (upper-case) text.
    TTermGrammar(std::string_view Text, const TParserVariables& Variables,
                 const TParserFunctions& FunctionOne, const TParserFunctions& FunctionTwo,
                 bool UsePascalNumbers);

    // Tries variable, number, negation, the two-operand operators, then calls, in this order.
    bool Classify(TSpan Term, TTermSplit& Out);
    bool IsBracket(TSpan Term) { return Is(TTermKind::Bracket, Term); }
    // Removes every redundant pair of enclosing brackets.
    TSpan StripBrackets(TSpan Term);
    bool NumberValue(TSpan Term, ParserFloat& Value) const;

    std::string_view Text(TSpan Term) const { return FText.substr(Term.Start, Term.Len); }
    PParserFloat VariableCell(TSpan Term) const;
    TMathProcedure FunctionRoutine(TTermKind Kind, TSpan Name) const;

    // Deeper recursion than this raises the nesting error rather than exhausting the stack.
    static constexpr int MAX_CLASSIFY_DEPTH = 400;

private:
    bool Is(TTermKind Kind, TSpan Term);
    bool Compute(TTermKind Kind, TSpan Term, TTermSplit* Out);
    bool Accepts(std::uint32_t KindMask, TSpan Term);
    bool SplitAtOperator(TTermKind Kind, TSpan Term, TTermSplit* Out);
    bool SplitNegation(TSpan Term, TTermSplit* Out);
    bool SplitFuncOne(TSpan Term, TTermSplit* Out);
    bool SplitFuncTwo(TSpan Term, TTermSplit* Out);
    bool BracketsBalanced(std::uint32_t From, std::uint32_t To) const;
    // No ")" before its "(" and as many of each: true of every valid term.
    bool WellNested(TSpan Term) const;

    std::string_view FText;
    const TParserVariables& FVariables;
    const TParserFunctions& FFunctionOne;
    const TParserFunctions& FFunctionTwo;
    bool FPascalNumbers;
    // Prefix counts of "(" minus ")" to compare bracket counts of any side at once.
    std::vector<int> FBracketBalance;
    // FMinBalance[k][i]: lowest balance among positions i .. i + 2^k - 1.
    std::vector<std::vector<int>> FMinBalance;
    std::unordered_map<std::uint64_t, bool> FMemo;
    int FDepth = 0;
};
