#pragma once
// Expression compiler: turns a formula text into a flat list of operation records that can be
// evaluated again and again without reading the text.

#include <cstdint>
#include <deque>
#include <map>
#include <stdexcept>
#include <string>

// Operands, results and variables live in 80-bit cells.
using ParserFloat = long double;
using PParserFloat = ParserFloat*;

enum class TToken : std::uint8_t {
    variab,
    constant,
    minus,
    sum,
    diff,
    prod,
    divis,
    modulo,
    IntDiv,
    integerpower,
    realpower,
    square,
    third,
    fourth,
    FuncOneVar,
    FuncTwoVar
};

struct TOperation;
using POperation = TOperation*;
// Reads the operand cells of one record and writes its result cell; sets CalcErr instead of raising.
using TMathProcedure = void (*)(TOperation* AnOperation);

struct TOperation {
    PParserFloat Arg1 = nullptr;
    PParserFloat Arg2 = nullptr; // nil for one-operand tokens
    PParserFloat Dest = nullptr;
    POperation NextOperation = nullptr;
    TMathProcedure Operation = nullptr;
    TToken Token = TToken::variab;
    bool CalcErr = false;
};

// Upper-case names. Variables map to their cells, functions to their routines.
using TParserVariables = std::map<std::string, PParserFloat, std::less<>>;
using TParserFunctions = std::map<std::string, TMathProcedure, std::less<>>;

// A compiled expression: owns its records and the constant and result cells, never a variable's cell.
class TOperationList {
public:
    TOperationList() = default;
    TOperationList(const TOperationList&) = delete;
    TOperationList& operator=(const TOperationList&) = delete;

    POperation First() const { return FFirst; }
    bool Empty() const { return FFirst == nullptr; }
    void Clear();

    // Used while compiling.
    POperation NewOperation(TToken token, TMathProcedure routine);
    PParserFloat NewCell(ParserFloat value);
    void SetFirst(POperation first) { FFirst = first; }

private:
    std::deque<TOperation> FOperations;
    std::deque<ParserFloat> FCells;
    POperation FFirst = nullptr;
};

class EMathParserError : public std::runtime_error {
public:
    explicit EMathParserError(const std::string& message) : std::runtime_error(message) {}
};
#define ORVEX_PARSER_ERROR(Name)                                                                             \
    class Name : public EMathParserError {                                                                   \
    public:                                                                                                  \
        explicit Name(const std::string& message) : EMathParserError(message) {}                             \
    }
ORVEX_PARSER_ERROR(ESyntaxError);
ORVEX_PARSER_ERROR(EExpressionHasBlanks);
ORVEX_PARSER_ERROR(EExpressionTooComplex);
ORVEX_PARSER_ERROR(ETooManyNestings);
ORVEX_PARSER_ERROR(EMissMatchingBracket);
ORVEX_PARSER_ERROR(EBadName);
ORVEX_PARSER_ERROR(EParserInternalError);
#undef ORVEX_PARSER_ERROR

// Compiles FunctionString into FirstOP (emptied first). Error is set before a syntax, nesting or
// complexity error; on any exception FirstOP is left empty and the exception passes on.
// UsePascalNumbers: numbers take '.' only; otherwise ',' is accepted as the separator as well.
void ParseFunction(const std::string& FunctionString, const TParserVariables& Variables,
                   const TParserFunctions& FunctionOne, const TParserFunctions& FunctionTwo,
                   bool UsePascalNumbers, TOperationList& FirstOP, bool& Error);

// Bounds of the operation table.
inline constexpr int MAX_NESTING_LEVEL = 20;
inline constexpr int MAX_OPERATIONS_PER_LEVEL = 50;
