#pragma once
// The expression parser: variable and function tables, the compiled expression and its evaluation.
// A function series writes X and reads Value once per sample; the compiled list reads variables
// through their cells, so no recompiling is needed between samples.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "MDP10Build.h"

class TMDCustomParser;
// Called instead of raising when a text does not compile.
using TMDParserExceptionEvent = std::function<void(TMDCustomParser& Sender, const EMathParserError& E)>;

class TMDCustomParser {
public:
    TMDCustomParser();
    virtual ~TMDCustomParser();
    TMDCustomParser(const TMDCustomParser&) = delete;
    TMDCustomParser& operator=(const TMDCustomParser&) = delete;

    // Compiles the text; true when it compiled. An empty text compiles nothing and returns false.
    bool ParseExpression(const std::string& AnExpression);
    const std::string& Expression() const { return FExpression; }
    void SetExpression(const std::string& Text) { ParseExpression(Text); }

    // Value of the compiled expression (0 when none). Sets CalcError on a domain error, a result
    // that is not finite included, and stops there.
    ParserFloat CalcValue();
    ParserFloat Value() { return CalcValue(); }
    bool CalcError() const { return FCalcError; }
    bool ParserError() const { return FParserError; }
    POperation LinkedOperationList() const { return FStartOperationList.First(); }

    bool PascalNumberformat() const { return FPascalNumberformat; }
    void SetPascalNumberformat(bool Value) { FPascalNumberformat = Value; }
    void SetOnParserError(TMDParserExceptionEvent Handler) { FOnParserError = std::move(Handler); }

    // Variables, by case-insensitive name. SetVariable returns the variable's cell; a new name must
    // be an identifier without DIV or MOD in it, else EBadName.
    PParserFloat SetVariable(const std::string& Name, ParserFloat Value);
    ParserFloat GetVariable(const std::string& Name) const;
    bool VariableExists(const std::string& Name) const;

    void AddFunctionOneParam(const std::string& Name, TMathProcedure Routine);
    void AddFunctionTwoParam(const std::string& Name, TMathProcedure Routine);

    void ClearVariables();
    void ClearVariable(const std::string& Name);
    void ClearFunctions();
    void ClearFunction(const std::string& Name);
    void FreeExpression() { FStartOperationList.Clear(); }

    // The built-in cells, read and written directly.
    ParserFloat A() const { return FA; }
    ParserFloat B() const { return FB; }
    ParserFloat C() const { return FC; }
    ParserFloat D() const { return FD; }
    ParserFloat E() const { return FE; }
    ParserFloat X() const { return FX; }
    ParserFloat Y() const { return FY; }
    ParserFloat T() const { return FT; }
    void SetA(ParserFloat v) { FA = v; }
    void SetB(ParserFloat v) { FB = v; }
    void SetC(ParserFloat v) { FC = v; }
    void SetD(ParserFloat v) { FD = v; }
    void SetE(ParserFloat v) { FE = v; }
    void SetX(ParserFloat v) { FX = v; }
    void SetY(ParserFloat v) { FY = v; }
    void SetT(ParserFloat v) { FT = v; }

protected:
    // The cell of a built-in one-letter name (A, B, C, D, E, T, X, Y), else nil.
    PParserFloat BuiltInCell(std::string_view UpperName);
    void AddFunction(TParserFunctions& List, const std::string& Name, TMathProcedure Routine);

private:
    bool FCalcError = false;
    ParserFloat FA = 0, FB = 0, FC = 0, FD = 0, FE = 0, FX = 0, FY = 0, FT = 0;
    std::string FExpression;
    bool FPascalNumberformat = true;
    bool FParserError = false;
    TParserVariables FVariables;
    // Cells of the variables that are not built in; freed with their entry.
    std::map<std::string, std::unique_ptr<ParserFloat>, std::less<>> FOwnedCells;
    TOperationList FStartOperationList;
    TMDParserExceptionEvent FOnParserError;
    TParserFunctions FunctionOne;
    TParserFunctions FunctionTwo;
};

// The ready-made parser: the variables A, B, C, D, E, X, Y, T and the built-in functions.
class TMDParser : public TMDCustomParser {
public:
    TMDParser();
    static std::string RemoveBlanks(const std::string& s);
};
