#pragma once
// Renders a compiled list as a term tree, e.g. "sum(X,prod(2,Y))", so tests can state the grouping.

#include <map>
#include <sstream>
#include <string>

#include "MDParser10.h"
#include "MDParserRoutines.h"

inline std::string TokenName(TToken t) {
    static const char* const names[] = {
        "variab", "constant",     "minus",     "sum",    "diff",  "prod",   "divis",      "modulo",
        "IntDiv", "integerpower", "realpower", "square", "third", "fourth", "FuncOneVar", "FuncTwoVar"};
    return names[static_cast<int>(t)];
}

inline std::string RoutineName(TMathProcedure r) {
    using namespace MDRoutines;
    const std::map<TMathProcedure, std::string> names = {{Sin, "SIN"}, {Sqrt, "SQRT"}, {Max, "MAX"},
                                                         {Min, "MIN"}, {LogN, "LOGN"}, {Abs, "ABS"}};
    auto it = names.find(r);
    return it == names.end() ? "CALL" : it->second;
}

// The tree of the compiled expression of `parser`; built-in variables print by name.
inline std::string CompiledTree(TMDCustomParser& parser) {
    std::map<PParserFloat, POperation> producer;
    POperation last = nullptr;
    for (POperation op = parser.LinkedOperationList(); op; op = op->NextOperation) {
        if (op->Token != TToken::variab) producer[op->Dest] = op;
        last = op;
    }
    if (!last) return "<none>";
    std::map<PParserFloat, std::string> names;
    for (const char* n : {"A", "B", "C", "D", "E", "X", "Y", "T"})
        if (parser.VariableExists(n)) names[parser.SetVariable(n, parser.GetVariable(n))] = n;
    auto render = [&](auto& self, PParserFloat cell) -> std::string {
        if (auto it = producer.find(cell); it != producer.end()) {
            const POperation op = it->second;
            std::string head = op->Token == TToken::FuncOneVar || op->Token == TToken::FuncTwoVar
                                   ? RoutineName(op->Operation)
                                   : TokenName(op->Token);
            std::string out = head + "(" + self(self, op->Arg1);
            if (op->Arg2) out += "," + self(self, op->Arg2);
            return out + ")";
        }
        if (auto it = names.find(cell); it != names.end()) return it->second;
        std::ostringstream text;
        text << static_cast<double>(*cell);
        return text.str();
    };
    return render(render, last->Token == TToken::variab ? last->Arg1 : last->Dest);
}
