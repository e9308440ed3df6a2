#include "MDP10Grammar.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <numbers>
#include <string>

namespace {

constexpr std::uint32_t Bit(TTermKind k) {
    return 1u << static_cast<unsigned>(k);
}

constexpr std::uint32_t kCalls = Bit(TTermKind::FuncOneVar) | Bit(TTermKind::FuncTwoVar);
constexpr std::uint32_t kOperand =
    Bit(TTermKind::Variable) | Bit(TTermKind::Number) | Bit(TTermKind::Bracket) | kCalls;
constexpr std::uint32_t kQuotients =
    Bit(TTermKind::IntDivision) | Bit(TTermKind::Modulo) | Bit(TTermKind::RealDivision);

// Which terms each operator takes on its left and right. These tables decide grouping: "+" and
// "*" group to the right, "-" and the divisions to the left, and a power's base is never a negation.
constexpr std::uint32_t kAddLeft = kOperand | Bit(TTermKind::Negation) | Bit(TTermKind::Subtraction) |
                                   Bit(TTermKind::Multiplication) | kQuotients | Bit(TTermKind::Power);
constexpr std::uint32_t kAddRight = kOperand | Bit(TTermKind::Addition) | Bit(TTermKind::Subtraction) |
                                    Bit(TTermKind::Multiplication) | kQuotients | Bit(TTermKind::Power);
constexpr std::uint32_t kSubRight =
    kOperand | Bit(TTermKind::Multiplication) | kQuotients | Bit(TTermKind::Power);
constexpr std::uint32_t kMulLeft = kOperand | Bit(TTermKind::Negation) | kQuotients | Bit(TTermKind::Power);
constexpr std::uint32_t kMulRight = kSubRight;
constexpr std::uint32_t kDivRight = kOperand | Bit(TTermKind::Power);
constexpr std::uint32_t kPowSide = kOperand;

struct TOperatorRule {
    std::string_view Symbol;
    std::uint32_t Left;
    std::uint32_t Right;
};

TOperatorRule RuleOf(TTermKind kind) {
    switch (kind) {
    case TTermKind::Addition:
        return {"+", kAddLeft, kAddRight};
    case TTermKind::Subtraction:
        return {"-", kAddLeft, kSubRight};
    case TTermKind::Multiplication:
        return {"*", kMulLeft, kMulRight};
    case TTermKind::IntDivision:
        return {"DIV", kMulLeft, kDivRight};
    case TTermKind::Modulo:
        return {"MOD", kMulLeft, kDivRight};
    case TTermKind::RealDivision:
        return {"/", kMulLeft, kDivRight};
    default:
        return {"^", kPowSide, kPowSide};
    }
}

// Classification order of a term; a bracket is never a term of its own (its text is replaced
// by the inner text before it is classified).
constexpr TTermKind kTermOrder[] = {TTermKind::Variable,    TTermKind::Number,      TTermKind::Negation,
                                    TTermKind::Addition,    TTermKind::Subtraction, TTermKind::Multiplication,
                                    TTermKind::IntDivision, TTermKind::Modulo,      TTermKind::RealDivision,
                                    TTermKind::Power,       TTermKind::FuncOneVar,  TTermKind::FuncTwoVar};

// Sign, digits with one decimal separator, an optional exponent. Cheap, so that the full
// conversion only runs on texts that can be numbers.
bool LooksLikeNumber(std::string_view s, bool pascalNumbers) {
    std::size_t i = 0;
    auto digit = [&](std::size_t k) { return k < s.size() && s[k] >= '0' && s[k] <= '9'; };
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool digits = false;
    while (digit(i))
        ++i, digits = true;
    if (i < s.size() && (s[i] == '.' || (!pascalNumbers && s[i] == ','))) ++i;
    while (digit(i))
        ++i, digits = true;
    if (!digits) return false;
    if (i < s.size() && s[i] == 'E') {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (!digit(i)) return false;
        while (digit(i))
            ++i;
    }
    return i == s.size();
}

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A "+" or "-" at i right after an operand is a binary operator, unless it is the sign of a
// number's exponent ("2E-5": an E after digits that start a term). When unsure, it is a sign.
bool IsBinarySign(std::string_view s, std::size_t i) {
    if (i == 0) return false;
    const char before = s[i - 1];
    if (before == ')' || before == '.') return true;
    if (!IsNameChar(before)) return false;
    if (before != 'E') return true;
    std::size_t j = i - 1;
    bool digits = false;
    while (j > 0 && (IsDigit(s[j - 1]) || s[j - 1] == '.' || s[j - 1] == ',')) {
        digits = digits || IsDigit(s[j - 1]);
        --j;
    }
    return !(digits && (j == 0 || !IsNameChar(s[j - 1])));
}

template <class Table> bool AnyNameHolds(const Table& table, std::string_view word) {
    for (const auto& entry : table)
        if (entry.first.find(word) != std::string::npos) return true;
    return false;
}

} // namespace

int LongestOperatorChain(std::string_view Text, const TParserVariables& Variables,
                         const TParserFunctions& FunctionOne, const TParserFunctions& FunctionTwo) {
    // DIV and MOD only count when no name holds them, so that each one found is an operator.
    bool words = true;
    for (std::string_view word : {"DIV", "MOD"})
        words = words && !AnyNameHolds(Variables, word) && !AnyNameHolds(FunctionOne, word) &&
                !AnyNameHolds(FunctionTwo, word);
    struct TRuns {
        int Sums = 0, Differences = 0, Products = 0, Quotients = 0;
    };
    std::vector<TRuns> open(1); // one entry per open bracket
    int longest = 0;
    for (std::size_t i = 0; i < Text.size(); ++i) {
        TRuns& r = open.back();
        const char c = Text[i];
        if (c == '(') {
            open.emplace_back();
        } else if (c == ')') {
            if (open.size() > 1) open.pop_back();
        } else if (c == ',') {
            r = TRuns{}; // an argument separator, or a decimal one: either way a fresh start
        } else if (c == '+' && IsBinarySign(Text, i)) {
            r = TRuns{r.Sums + 1, 0, 0, 0};
        } else if (c == '-' && IsBinarySign(Text, i)) {
            r = TRuns{r.Sums, r.Differences + 1, 0, 0};
        } else if (c == '*') {
            r = TRuns{r.Sums, r.Differences, r.Products + 1, 0};
        } else if (c == '/' || (words && (Text.substr(i, 3) == "DIV" || Text.substr(i, 3) == "MOD"))) {
            ++r.Quotients;
            if (c != '/') i += 2;
        } else {
            continue;
        }
        const TRuns& now = open.back();
        longest = std::max({longest, now.Sums, now.Differences, now.Products, now.Quotients});
    }
    return longest;
}

TTermGrammar::TTermGrammar(std::string_view Text, const TParserVariables& Variables,
                           const TParserFunctions& FunctionOne, const TParserFunctions& FunctionTwo,
                           bool UsePascalNumbers)
    : FText(Text), FVariables(Variables), FFunctionOne(FunctionOne), FFunctionTwo(FunctionTwo),
      FPascalNumbers(UsePascalNumbers) {
    FBracketBalance.resize(Text.size() + 1, 0);
    for (std::size_t i = 0; i < Text.size(); ++i)
        FBracketBalance[i + 1] = FBracketBalance[i] + (Text[i] == '(' ? 1 : Text[i] == ')' ? -1 : 0);
    FMinBalance.push_back(FBracketBalance);
    for (std::size_t width = 2; width <= FBracketBalance.size(); width *= 2) {
        const std::vector<int>& prev = FMinBalance.back();
        std::vector<int> next(FBracketBalance.size() - width + 1);
        for (std::size_t i = 0; i < next.size(); ++i)
            next[i] = std::min(prev[i], prev[i + width / 2]);
        FMinBalance.push_back(std::move(next));
    }
}

bool TTermGrammar::WellNested(TSpan Term) const {
    const int base = FBracketBalance[Term.Start];
    if (FBracketBalance[Term.End()] != base) return false;
    const std::uint32_t count = Term.Len + 1; // balances at Start .. End
    const int level = std::bit_width(count) - 1;
    const std::vector<int>& row = FMinBalance[level];
    return std::min(row[Term.Start], row[Term.End() + 1 - (1u << level)]) >= base;
}

bool TTermGrammar::Classify(TSpan Term, TTermSplit& Out) {
    Out = TTermSplit{};
    for (TTermKind kind : kTermOrder) {
        if (Compute(kind, Term, &Out)) {
            Out.Kind = kind;
            return true;
        }
    }
    return false;
}

TSpan TTermGrammar::StripBrackets(TSpan Term) {
    while (Is(TTermKind::Bracket, Term))
        Term = TSpan{Term.Start + 1, Term.Len - 2};
    return Term;
}

bool TTermGrammar::NumberValue(TSpan Term, ParserFloat& Value) const {
    std::string_view s = Text(Term);
    if (s == "PI" || s == "-PI") {
        Value = s[0] == '-' ? -std::numbers::pi_v<ParserFloat> : std::numbers::pi_v<ParserFloat>;
        return true;
    }
    if (!LooksLikeNumber(s, FPascalNumbers)) return false;
    std::string body(s);
    if (!FPascalNumbers)
        for (char& c : body)
            if (c == ',') c = '.';
    std::size_t first = 0;
    bool negative = false;
    if (!body.empty() && (body[0] == '+' || body[0] == '-')) {
        negative = body[0] == '-';
        first = 1;
    }
    // Only digits or '.' may follow the sign: no "INF", "NAN" or a second sign.
    if (first >= body.size() ||
        !(std::isdigit(static_cast<unsigned char>(body[first])) || body[first] == '.'))
        return false;
    ParserFloat v = 0;
    const char* end = body.data() + body.size();
    auto [ptr, ec] = std::from_chars(body.data() + first, end, v, std::chars_format::general);
    if (ec != std::errc() || ptr != end) return false;
    Value = negative ? -v : v;
    return true;
}

PParserFloat TTermGrammar::VariableCell(TSpan Term) const {
    auto it = FVariables.find(Text(Term));
    return it == FVariables.end() ? nullptr : it->second;
}

TMathProcedure TTermGrammar::FunctionRoutine(TTermKind Kind, TSpan Name) const {
    const TParserFunctions& list = Kind == TTermKind::FuncOneVar ? FFunctionOne : FFunctionTwo;
    auto it = list.find(Text(Name));
    return it == list.end() ? nullptr : it->second;
}

bool TTermGrammar::Is(TTermKind Kind, TSpan Term) {
    const std::uint64_t key =
        ((static_cast<std::uint64_t>(Term.Start) << 32 | Term.Len) << 4) | static_cast<std::uint64_t>(Kind);
    if (auto it = FMemo.find(key); it != FMemo.end()) return it->second;
    // Most spans met while splitting cannot be terms at all; this keeps the search near linear.
    if (!WellNested(Term)) return false;
    if (++FDepth > MAX_CLASSIFY_DEPTH) throw ETooManyNestings("Expression contains too many nestings");
    bool result = false;
    if (Kind == TTermKind::Valid) {
        for (TTermKind k : kTermOrder)
            if (Is(k, Term)) {
                result = true;
                break;
            }
        result = result || Is(TTermKind::Bracket, Term);
    } else {
        result = Compute(Kind, Term, nullptr);
    }
    --FDepth;
    FMemo.emplace(key, result);
    return result;
}

bool TTermGrammar::Accepts(std::uint32_t KindMask, TSpan Term) {
    for (unsigned k = 0; k < static_cast<unsigned>(TTermKind::Valid); ++k)
        if ((KindMask & (1u << k)) && Is(static_cast<TTermKind>(k), Term)) return true;
    return false;
}

bool TTermGrammar::BracketsBalanced(std::uint32_t From, std::uint32_t To) const {
    return FBracketBalance[To] == FBracketBalance[From];
}

bool TTermGrammar::Compute(TTermKind Kind, TSpan Term, TTermSplit* Out) {
    std::string_view s = Text(Term);
    switch (Kind) {
    case TTermKind::Variable:
        return FVariables.find(s) != FVariables.end();
    case TTermKind::Number: {
        ParserFloat ignored;
        return NumberValue(Term, ignored);
    }
    case TTermKind::Bracket:
        if (s.size() < 2 || s.front() != '(' || s.back() != ')') return false;
        if (!Is(TTermKind::Valid, TSpan{Term.Start + 1, Term.Len - 2})) return false;
        if (Out) Out->Left = StripBrackets(Term);
        return true;
    case TTermKind::Negation:
        return SplitNegation(Term, Out);
    case TTermKind::FuncOneVar:
        return SplitFuncOne(Term, Out);
    case TTermKind::FuncTwoVar:
        return SplitFuncTwo(Term, Out);
    case TTermKind::Valid:
        return Is(TTermKind::Valid, Term);
    default:
        return SplitAtOperator(Kind, Term, Out);
    }
}

bool TTermGrammar::SplitAtOperator(TTermKind Kind, TSpan Term, TTermSplit* Out) {
    const TOperatorRule rule = RuleOf(Kind);
    const std::string_view s = Text(Term);
    const bool word = rule.Symbol.size() > 1; // DIV and MOD stand between operands without blanks
    for (std::size_t i = s.find(rule.Symbol); i != std::string_view::npos; i = s.find(rule.Symbol, i + 1)) {
        const bool first = i == 0;
        const bool last = i + rule.Symbol.size() >= s.size();
        if (word) {
            if (first || last) continue;
        } else if (first && Kind == TTermKind::Subtraction) {
            continue; // a leading "-" is the sign of the left operand: -X-1 is (-X)-1
        } else if (first || last) {
            return false;
        }
        const TSpan left{Term.Start, static_cast<std::uint32_t>(i)};
        const TSpan right{static_cast<std::uint32_t>(Term.Start + i + rule.Symbol.size()),
                          static_cast<std::uint32_t>(s.size() - i - rule.Symbol.size())};
        if (Out) {
            Out->Split = true;
            Out->RawLeft = left;
            Out->RawRight = right;
        }
        if (!BracketsBalanced(left.Start, left.End()) || !BracketsBalanced(right.Start, right.End()))
            continue;
        if (Accepts(rule.Left, left) && Accepts(rule.Right, right)) {
            if (Out) {
                Out->Left = StripBrackets(left);
                Out->Right = StripBrackets(right);
            }
            return true;
        }
    }
    return false;
}

bool TTermGrammar::SplitNegation(TSpan Term, TTermSplit* Out) {
    if (Term.Len < 2 || FText[Term.Start] != '-') return false;
    const TSpan rest{Term.Start + 1, Term.Len - 1};
    if (Is(TTermKind::Bracket, rest)) {
        if (Out) Out->Left = StripBrackets(rest);
        return true;
    }
    if (!Accepts(Bit(TTermKind::Variable) | Bit(TTermKind::Power) | kCalls, rest)) return false;
    if (Out) Out->Left = rest;
    return true;
}

bool TTermGrammar::SplitFuncOne(TSpan Term, TTermSplit* Out) {
    const std::string_view s = Text(Term);
    const std::size_t open = s.find('(');
    if (open == std::string_view::npos || open == 0) return false;
    const TSpan name{Term.Start, static_cast<std::uint32_t>(open)};
    if (FFunctionOne.find(Text(name)) == FFunctionOne.end()) return false;
    const TSpan argument{static_cast<std::uint32_t>(Term.Start + open),
                         static_cast<std::uint32_t>(s.size() - open)};
    if (!Is(TTermKind::Bracket, argument)) return false;
    if (Out) {
        Out->Name = name;
        Out->Left = StripBrackets(argument);
    }
    return true;
}

bool TTermGrammar::SplitFuncTwo(TSpan Term, TTermSplit* Out) {
    const std::string_view s = Text(Term);
    if (s.empty() || s.back() != ')') return false;
    const std::size_t open = s.find('(');
    if (open == std::string_view::npos || open == 0) return false;
    const TSpan name{Term.Start, static_cast<std::uint32_t>(open)};
    if (FFunctionTwo.find(Text(name)) == FFunctionTwo.end()) return false;
    const std::size_t from = open + 1; // argument text: between "(" and the final ")"
    const std::size_t to = s.size() - 1;
    for (std::size_t c = s.find(',', from); c != std::string_view::npos && c < to; c = s.find(',', c + 1)) {
        if (c == from || c + 1 == to) return false;
        const TSpan left{static_cast<std::uint32_t>(Term.Start + from), static_cast<std::uint32_t>(c - from)};
        const TSpan right{static_cast<std::uint32_t>(Term.Start + c + 1),
                          static_cast<std::uint32_t>(to - c - 1)};
        if (Out) {
            Out->Split = true;
            Out->RawLeft = left;
            Out->RawRight = right;
        }
        if (Is(TTermKind::Valid, left) && Is(TTermKind::Valid, right)) {
            if (Out) {
                Out->Name = name;
                Out->Left = StripBrackets(left);
                Out->Right = StripBrackets(right);
            }
            return true;
        }
    }
    return false;
}
