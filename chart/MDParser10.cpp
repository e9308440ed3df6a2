#include "MDParser10.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "MDParserRoutines.h"

namespace {

std::string UpperCase(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool IsIdentifier(std::string_view s) {
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (s.empty() || !letter(s[0])) return false;
    return std::all_of(s.begin(), s.end(), [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

} // namespace

TMDCustomParser::TMDCustomParser() = default;

TMDCustomParser::~TMDCustomParser() {
    FreeExpression();
    ClearVariables();
}

bool TMDCustomParser::ParseExpression(const std::string& AnExpression) {
    FreeExpression();
    FExpression = AnExpression;
    if (AnExpression.empty()) return false;
    bool error = false;
    try {
        ParseFunction(AnExpression, FVariables, FunctionOne, FunctionTwo, FPascalNumberformat,
                      FStartOperationList, error);
        FParserError = error;
    } catch (const EMathParserError& e) {
        FParserError = true;
        if (!FOnParserError) throw;
        FOnParserError(*this, e);
        return false;
    } catch (...) {
        FParserError = true;
        throw;
    }
    for (POperation op = FStartOperationList.First(); op; op = op->NextOperation)
        if (op->Token != TToken::FuncOneVar && op->Token != TToken::FuncTwoVar)
            op->Operation = MDRoutines::ForToken(op->Token);
    return true;
}

ParserFloat TMDCustomParser::CalcValue() {
    POperation op = FStartOperationList.First();
    if (!op) return 0;
    FCalcError = false;
    POperation last = op;
    for (; op; op = op->NextOperation) {
        last = op;
        op->CalcErr = false;
        op->Operation(op);
        // An overflow or a NaN operand is a domain error like any other.
        if (!op->CalcErr && !std::isfinite(*op->Dest)) op->CalcErr = true;
        if (op->CalcErr) {
            FCalcError = true;
            break;
        }
    }
    return *last->Dest;
}

PParserFloat TMDCustomParser::BuiltInCell(std::string_view UpperName) {
    if (UpperName.size() != 1) return nullptr;
    switch (UpperName[0]) {
    case 'A':
        return &FA;
    case 'B':
        return &FB;
    case 'C':
        return &FC;
    case 'D':
        return &FD;
    case 'E':
        return &FE;
    case 'T':
        return &FT;
    case 'X':
        return &FX;
    case 'Y':
        return &FY;
    default:
        return nullptr;
    }
}

PParserFloat TMDCustomParser::SetVariable(const std::string& Name, ParserFloat Value) {
    const std::string name = UpperCase(Name);
    if (auto it = FVariables.find(name); it != FVariables.end()) {
        *it->second = Value;
        return it->second;
    }
    PParserFloat cell = BuiltInCell(name);
    if (!cell) {
        if (!IsIdentifier(name) || name.find("DIV") != std::string::npos ||
            name.find("MOD") != std::string::npos)
            throw EBadName(name);
        cell = FOwnedCells.emplace(name, std::make_unique<ParserFloat>(0)).first->second.get();
    }
    *cell = Value;
    FVariables.emplace(name, cell);
    return cell;
}

ParserFloat TMDCustomParser::GetVariable(const std::string& Name) const {
    auto it = FVariables.find(UpperCase(Name));
    return it == FVariables.end() ? 0 : *it->second;
}

bool TMDCustomParser::VariableExists(const std::string& Name) const {
    return FVariables.find(UpperCase(Name)) != FVariables.end();
}

void TMDCustomParser::AddFunction(TParserFunctions& List, const std::string& Name, TMathProcedure Routine) {
    if (!IsIdentifier(Name)) throw EBadName(Name);
    const std::string name = UpperCase(Name);
    if (!List.emplace(name, Routine).second) throw EMathParserError("Duplicate function name " + name);
}

void TMDCustomParser::AddFunctionOneParam(const std::string& Name, TMathProcedure Routine) {
    AddFunction(FunctionOne, Name, Routine);
}

void TMDCustomParser::AddFunctionTwoParam(const std::string& Name, TMathProcedure Routine) {
    AddFunction(FunctionTwo, Name, Routine);
}

// The compiled list holds variable cells: it goes before any cell does.
void TMDCustomParser::ClearVariables() {
    FreeExpression();
    FVariables.clear();
    FOwnedCells.clear();
    SetExpression("");
}

void TMDCustomParser::ClearVariable(const std::string& Name) {
    FreeExpression();
    const std::string name = UpperCase(Name);
    FVariables.erase(name);
    FOwnedCells.erase(name);
    SetExpression("");
}

void TMDCustomParser::ClearFunctions() {
    FunctionOne.clear();
    FunctionTwo.clear();
    SetExpression("");
}

void TMDCustomParser::ClearFunction(const std::string& Name) {
    const std::string name = UpperCase(Name);
    if (FunctionOne.erase(name) != 0 || FunctionTwo.erase(name) != 0) SetExpression("");
}

TMDParser::TMDParser() {
    for (const char* name : {"A", "B", "C", "D", "E", "X", "Y", "T"})
        SetVariable(name, 0);
    using namespace MDRoutines;
    const std::pair<const char*, TMathProcedure> one[] = {
        {"TAN", Tan},       {"SIN", Sin},     {"COS", Cos},     {"SINH", Sinh},      {"COSH", Cosh},
        {"ARCTAN", ArcTan}, {"COTAN", CoTan}, {"EXP", Exp},     {"LN", Ln},          {"LOG10", Log10},
        {"LOG2", Log2},     {"SQR", Square},  {"SQRT", Sqrt},   {"ABS", Abs},        {"TRUNC", Trunc},
        {"INT", Trunc},     {"CEIL", Ceil},   {"FLOOR", Floor}, {"HEAV", Heaviside}, {"SIGN", Sign},
        {"ZERO", Zero},     {"PH", Phase},    {"RND", Rnd},     {"RANDOM", Random}};
    for (const auto& [name, routine] : one)
        AddFunctionOneParam(name, routine);
    const std::pair<const char*, TMathProcedure> two[] = {
        {"MAX", Max}, {"MIN", Min}, {"ARG", Arg}, {"POWER", Power}, {"INTPOWER", IntPower}, {"LOGN", LogN}};
    for (const auto& [name, routine] : two)
        AddFunctionTwoParam(name, routine);
}

std::string TMDParser::RemoveBlanks(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != ' ') out.push_back(c);
    return out;
}
