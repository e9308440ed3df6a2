// Reading of the function settings file: names, start values, steps and bounds per kind.

#include <cctype>
#include <filesystem>
#include <pugixml.hpp>
#include <string_view>

#include "FileUtils.h"
#include "FunctionSettings.h"
#include "ModelFunction.h"
#include "NumberText.h"
#include "OrvexConfig.h"
#include "OrvexError.h"

namespace {
std::string Lower(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return r;
}

// The first n characters of UTF-8 text, never splitting a character.
std::string FirstChars(std::string_view s, std::size_t n) {
    std::size_t pos = 0;
    for (std::size_t count = 0; pos < s.size() && count < n; ++count) {
        ++pos;
        while (pos < s.size() && (static_cast<unsigned char>(s[pos]) & 0xC0) == 0x80)
            ++pos;
    }
    return std::string(s.substr(0, pos));
}

bool ReadNumber(const pugi::xml_node& node, const char* attr, double& out) {
    const pugi::xml_attribute a = node.attribute(attr);
    return a && TryParseSetting(a.value(), out);
}

} // namespace

TFunctionSettings::TFunctionSettings(std::string fileName) : fileName_(std::move(fileName)) {
    if (!doc_.load_file(fileName_.c_str())) doc_.reset();
}

bool TFunctionSettings::Read(const std::string& funcName, int i, TRVarInfo& info, std::string& values) const {
    const pugi::xml_node root = doc_.child("Functions");
    if (!root) return false;
    const std::string key = Lower(funcName);
    pugi::xml_node entry;
    for (pugi::xml_node n = root.first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_element && Lower(n.attribute("name").value()) == key) {
            entry = n;
            break;
        }
    }
    if (!entry || i < 0) return false;
    pugi::xml_node node;
    int pos = 0;
    for (pugi::xml_node n = entry.first_child(); n; n = n.next_sibling()) {
        if (n.type() != pugi::node_element) continue;
        if (pos++ == i) {
            node = n;
            break;
        }
    }
    if (!node) return false;

    int id = -1;
    const pugi::xml_attribute idAttr = node.attribute("id");
    const pugi::xml_attribute nameAttr = node.attribute("name");
    if (!idAttr || !TryParseInt(idAttr.value(), id) || id != i || !nameAttr) return false;
    double value = 0, step = 0, mn = 0, mx = 0;
    if (!ReadNumber(node, "value", value) || !ReadNumber(node, "step", step) ||
        !ReadNumber(node, "min", mn) || !ReadNumber(node, "max", mx))
        return false;
    values = std::string("value ") + node.attribute("value").value() + ", step " +
             node.attribute("step").value() + ", min " + node.attribute("min").value() + ", max " +
             node.attribute("max").value();

    info = TRVarInfo{};
    info.minBound = mn;
    info.maxBound = mx;
    info.value = value;
    info.bestvalue = value;
    info.step = step;
    info.lastvalue = 0.0;
    info.best_overall_value = 0.0;
    info.b4_point = 2;
    info.after_point = 5;
    info.name = FirstChars(nameAttr.value(), MAX_PARAM_NAME);
    return true;
}

std::string SettingsBoundsFault(double value, double step, double min, double max) {
    // Written so that a NaN fails every test.
    if (!(min <= max)) return "min is greater than max";
    if (!(min <= value && value <= max)) return "the value lies outside [min, max]";
    if (!(step > 0.0)) return "the step is not positive";
    return {};
}

std::string TModelFunction::SettingsFileName() {
    return GetExecutableDir() + PRESETS_OPTIM_DIR + FUNC_XML_FILE;
}

void TModelFunction::parameterInitValues(int i, TRVarInfo& info) {
    parameterInitValuesXML(SettingsFileName(), i, info);
}

void TModelFunction::parameterInitValuesXML(const std::string& filename, int i, TRVarInfo& info) {
    parameterInitValues(TFunctionSettings(filename), i, info);
}

void TModelFunction::parameterInitValues(const TFunctionSettings& settings, int i, TRVarInfo& info) {
    const std::string& filename = settings.FileName();
    TRVarInfo read;
    std::string values;
    if (i >= param.number_of_parameters || !settings.Read(name, i, read, values))
        throw EOrvexError("Error: bad or impossible reading of the functions settings file \"" + filename +
                          "\" for function <" + name + ">, parameter <" + std::to_string(i) + "> !");
    const std::string fault = SettingsBoundsFault(read.value, read.step, read.minBound, read.maxBound);
    if (!fault.empty())
        throw EOrvexError("Error: the functions settings file \"" + filename + "\" gives function <" + name +
                          ">, parameter <" + std::to_string(i) + "> (" + read.name + ") " + values + ": " +
                          fault + " !");
    varInfos[static_cast<std::size_t>(i)] = read;
    info = read;
}
