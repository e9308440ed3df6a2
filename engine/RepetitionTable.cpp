#include "RepetitionTable.h"

#include <algorithm>
#include <cmath>

#include "FunctionSettings.h"
#include "ModelFunction.h"
#include "NumberText.h"
#include "OrvexError.h"
#include "UtilStuff.h"

std::string FloatToStrGeneralExp(double value, int precision, int expDigits) {
    std::string text = FloatToStrGeneral(value, precision);
    const std::size_t e = text.find('E');
    if (e == std::string::npos) return text;
    std::size_t start = e + 1;
    if (start < text.size() && text[start] == '-') ++start;
    const std::size_t have = text.size() - start;
    if (have < static_cast<std::size_t>(expDigits))
        text.insert(start, static_cast<std::size_t>(expDigits) - have, '0');
    return text;
}

namespace {

std::string ClimateColumnName(const TModelFunction& f, const std::vector<std::string>& header) {
    if (f.useDayLengthAsVar) return "-DL-";
    const int column = f.GetWeatherDataColumn();
    if (column == -1) return "-Prev-";
    // The header starts with station, latitude, year and day: column 0 is its fifth item.
    const long long item = static_cast<long long>(column) + 4;
    if (item < 0 || item >= static_cast<long long>(header.size())) return "";
    return header[static_cast<std::size_t>(item)];
}

void PutFunction(THashtable& table, TModelFunction& f, const std::vector<std::string>* climateHeader,
                 const TFunctionSettings& settings) {
    const std::string s = "<" + std::to_string(f.phaseNum + 1) + "," + std::to_string(f.phasePos + 1) + ">";
    std::string desc = "[" + f.name;
    if (climateHeader != nullptr) desc += ", " + ClimateColumnName(f, *climateHeader);
    table.putWideString("Phase Function" + s, desc + "]");
    for (int k = 0; k < f.nbOfParameters(); ++k) {
        TRVarInfo info;
        f.parameterInitValues(settings, k, info);
        table.putWideString(info.name + s, myFloatToStr(f.getParameterValue(k), info));
    }
}

} // namespace

THashtable BuildInfoTable(const TRInfoTableInput& in) {
    THashtable table;
    table.putWideString("Model Type", in.modelType);
    if (in.fd != nullptr) {
        std::size_t t0Slot = 0;
        const int nb = std::min<int>(in.fd->nb_of_model_parameters, static_cast<int>(in.fd->var_info.size()));
        for (int i = 0; i < nb; ++i) {
            const TRVarInfo& slot = in.fd->var_info[static_cast<std::size_t>(i)];
            std::string value = myFloatToStr(slot.bestvalue, slot);
            if (slot.name.rfind("T0", 0) == 0) {
                if (t0Slot < in.t0NotFitted.size() && in.t0NotFitted[t0Slot]) value = "N/A";
                ++t0Slot;
            }
            table.putWideString(slot.name, value);
        }
    }
    if (in.functions != nullptr && !in.functions->empty()) {
        std::unique_ptr<TFunctionSettings> own;
        if (in.settings == nullptr)
            own = std::make_unique<TFunctionSettings>(TModelFunction::SettingsFileName());
        const TFunctionSettings& settings = in.settings != nullptr ? *in.settings : *own;
        for (const auto& f : *in.functions)
            PutFunction(table, *f, in.climateHeader, settings);
    }
    table.putWideString("-------", "-------");
    table.putWideString("SStot", FloatToStrGeneralExp(in.SStot, 8, 2));
    table.putWideString("SSres", FloatToStrGeneralExp(in.SSres, 8, 2));
    // The square root of a negative mean is not a number: print it as such, never raise.
    table.putWideString("RMSE", FloatToStrGeneralExp(in.RMSE >= 0 ? std::sqrt(in.RMSE) : NAN, 8, 2));
    table.putWideString("EFF", FloatToStrGeneralExp(in.EFF, 8, 3));
    table.putWideString("NbObs", std::to_string(in.nbObs));
    return table;
}

namespace {

std::string EntriesText(const THashtable& table, int from, int to, const std::string& title) {
    std::string text;
    if (!title.empty()) text += title + "\n";
    const auto& keys = table.getKeys();
    for (int i = std::max(from, 0); i < to; ++i)
        text += keys[static_cast<std::size_t>(i)] + ":\t" + table.getValueAt(i) + "\n";
    return text;
}

} // namespace

std::string TableStatsText(const THashtable& table, const std::string& title) {
    return EntriesText(table, table.getLength() - (INFO_TABLE_STATS - 1), table.getLength(), title);
}

std::string TableParametersText(const THashtable& table, const std::string& title) {
    return EntriesText(table, 0, table.getLength() - INFO_TABLE_STATS, title);
}

std::vector<std::string> SummaryRows(const std::vector<THashtable>& tables) {
    std::vector<std::string> rows;
    if (tables.empty()) return rows;
    std::string head = "Repetition";
    for (std::size_t k = 1; k <= tables.size(); ++k)
        head += "\t" + std::to_string(k);
    rows.push_back(head);
    const THashtable& first = tables.front();
    for (int i = 0; i < first.getLength(); ++i) {
        std::string row = first.getKeys()[static_cast<std::size_t>(i)];
        for (const auto& t : tables)
            row += "\t" + (i < t.getLength() ? t.getValueAt(i) : std::string());
        rows.push_back(row);
    }
    return rows;
}
