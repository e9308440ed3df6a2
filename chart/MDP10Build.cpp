#include "MDP10Build.h"

#include <array>
#include <cmath>
#include <vector>

#include "MDP10Grammar.h"

void TOperationList::Clear() {
    FFirst = nullptr;
    FOperations.clear();
    FCells.clear();
}

POperation TOperationList::NewOperation(TToken token, TMathProcedure routine) {
    TOperation& op = FOperations.emplace_back();
    op.Token = token;
    op.Operation = routine;
    return &op;
}

PParserFloat TOperationList::NewCell(ParserFloat value) {
    return &FCells.emplace_back(value);
}

namespace {

const char* const kSyntaxError = "Error parsing expression:";

// Builds the operations of a classified text depth first. An operation whose term sits at level L
// goes to level L + 1; each level's operations depend only on deeper levels, so running the levels
// from the deepest up evaluates everything in one pass.
class TOperationBuilder {
public:
    TOperationBuilder(TTermGrammar& grammar, TOperationList& list) : FGrammar(grammar), FList(list) {}

    void Build(TSpan term, int level, PParserFloat& slot) {
        TTermSplit split;
        if (!FGrammar.Classify(term, split)) throw ESyntaxError(SyntaxMessage(term, split));
        switch (split.Kind) {
        case TTermKind::Variable:
            slot = FGrammar.VariableCell(term);
            return;
        case TTermKind::Number: {
            ParserFloat value = 0;
            FGrammar.NumberValue(term, value);
            slot = FList.NewCell(value);
            return;
        }
        default:
            break;
        }
        const int opLevel = level + 1;
        if (opLevel > MAX_NESTING_LEVEL) throw ETooManyNestings("Expression contains too many nestings");
        if (FMatrix[opLevel].size() + 1 > static_cast<std::size_t>(MAX_OPERATIONS_PER_LEVEL))
            throw EExpressionTooComplex("Expression is too complex");

        TMathProcedure routine = nullptr;
        if (split.Kind == TTermKind::FuncOneVar || split.Kind == TTermKind::FuncTwoVar) {
            routine = FGrammar.FunctionRoutine(split.Kind, split.Name);
            if (!routine) throw EParserInternalError("TParser internal error");
        }
        const TToken token = TokenOf(split);
        POperation op = FList.NewOperation(token, routine);
        op->Dest = FList.NewCell(0);
        slot = op->Dest;
        if (IsOneOperand(token)) {
            FMatrix[opLevel].push_back(op);
            Build(split.Left, opLevel, op->Arg1);
        } else {
            Build(split.Left, opLevel, op->Arg1);
            FMatrix[opLevel].push_back(op);
            Build(split.Right, opLevel, op->Arg2);
        }
    }

    // Links the operations from the deepest level up; returns the head (nil when none was made).
    POperation Link() {
        POperation head = nullptr;
        POperation tail = nullptr;
        for (int level = MAX_NESTING_LEVEL; level >= 1; --level)
            for (POperation op : FMatrix[level]) {
                (tail ? tail->NextOperation : head) = op;
                tail = op;
            }
        return head;
    }

private:
    static bool IsOneOperand(TToken token) {
        return token == TToken::minus || token == TToken::square || token == TToken::third ||
               token == TToken::fourth || token == TToken::FuncOneVar;
    }

    TToken TokenOf(const TTermSplit& split) {
        switch (split.Kind) {
        case TTermKind::Negation:
            return TToken::minus;
        case TTermKind::Addition:
            return TToken::sum;
        case TTermKind::Subtraction:
            return TToken::diff;
        case TTermKind::Multiplication:
            return TToken::prod;
        case TTermKind::IntDivision:
            return TToken::IntDiv;
        case TTermKind::Modulo:
            return TToken::modulo;
        case TTermKind::RealDivision:
            return TToken::divis;
        case TTermKind::FuncOneVar:
            return TToken::FuncOneVar;
        case TTermKind::FuncTwoVar:
            return TToken::FuncTwoVar;
        case TTermKind::Power:
            return PowerToken(split.Right);
        default:
            throw EParserInternalError("TParser internal error");
        }
    }

    // A whole-number exponent (brackets removed) picks a dedicated routine; 2, 3 and 4 need no exponent cell.
    TToken PowerToken(TSpan exponent) {
        ParserFloat value = 0;
        if (!FGrammar.NumberValue(exponent, value)) return TToken::realpower;
        if (value != std::trunc(value)) return TToken::realpower;
        if (value == 2) return TToken::square;
        if (value == 3) return TToken::third;
        if (value == 4) return TToken::fourth;
        return TToken::integerpower;
    }

    std::string SyntaxMessage(TSpan term, const TTermSplit& split) const {
        std::string message = std::string(kSyntaxError) + '\r';
        if (!split.Split) return message.append(FGrammar.Text(term));
        message.append(FGrammar.Text(split.RawLeft)).append(1, '\r').append(FGrammar.Text(split.RawRight));
        return message;
    }

    TTermGrammar& FGrammar;
    TOperationList& FList;
    std::array<std::vector<POperation>, MAX_NESTING_LEVEL + 1> FMatrix;
};

std::string Normalise(const std::string& text) {
    std::string s = text;
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    s = s.substr(first, s.find_last_not_of(' ') - first + 1);
    if (s.find(' ') != std::string::npos) throw EExpressionHasBlanks("Expression has blanks");
    std::ptrdiff_t balance = 0;
    for (char c : s)
        balance += c == '(' ? 1 : c == ')' ? -1 : 0;
    if (balance != 0) throw EMissMatchingBracket("Missing brackets in expression");
    return s;
}

} // namespace

void ParseFunction(const std::string& FunctionString, const TParserVariables& Variables,
                   const TParserFunctions& FunctionOne, const TParserFunctions& FunctionTwo,
                   bool UsePascalNumbers, TOperationList& FirstOP, bool& Error) {
    Error = false;
    FirstOP.Clear();
    try {
        const std::string text = Normalise(FunctionString);
        if (LongestOperatorChain(text, Variables, FunctionOne, FunctionTwo) > MAX_NESTING_LEVEL)
            throw ETooManyNestings("Expression contains too many nestings");
        TTermGrammar grammar(text, Variables, FunctionOne, FunctionTwo, UsePascalNumbers);
        const TSpan root = grammar.StripBrackets(TSpan{0, static_cast<std::uint32_t>(text.size())});

        // The level-0 record only receives the root's value; it stays in the list when the whole
        // text is one variable or number.
        POperation top = FirstOP.NewOperation(TToken::variab, nullptr);
        TOperationBuilder builder(grammar, FirstOP);
        builder.Build(root, 0, top->Arg1);
        POperation head = builder.Link();
        if (!head) {
            top->Dest = top->Arg1;
            head = top;
        }
        FirstOP.SetFirst(head);
    } catch (const ESyntaxError&) {
        Error = true;
        FirstOP.Clear();
        throw;
    } catch (const ETooManyNestings&) {
        Error = true;
        FirstOP.Clear();
        throw;
    } catch (const EExpressionTooComplex&) {
        Error = true;
        FirstOP.Clear();
        throw;
    } catch (...) {
        FirstOP.Clear();
        throw;
    }
}
