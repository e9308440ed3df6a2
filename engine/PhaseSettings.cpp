// Reading of the phase settings file: start values, steps and bounds of T0 and S*.

#include <cctype>
#include <filesystem>
#include <pugixml.hpp>
#include <string_view>

#include "NumberText.h"
#include "OrvexConfig.h"
#include "OrvexError.h"
#include "Phase.h"

namespace {
// "True"/"False" in any case, or a number (0 is false).
bool ReadFlag(std::string_view text, bool& out) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "true" || lower == "false") {
        out = lower == "true";
        return true;
    }
    double v = 0.0;
    if (!TryParseSetting(text, v)) return false;
    out = v != 0.0;
    return true;
}

struct Setting {
    double value, step, min, max;
    std::string texts; // the numbers as the file gives them
};

// The element `which` (T0 or SStar) of the first Phase whose photomode matches.
bool ReadSetting(const std::string& path, bool is_photoperiod, const char* which, Setting& out) {
    pugi::xml_document doc;
    if (!doc.load_file(path.c_str())) return false;
    const pugi::xml_node root = doc.child("Phases");
    if (!root) return false;
    for (pugi::xml_node phase = root.first_child(); phase; phase = phase.next_sibling()) {
        if (phase.type() != pugi::node_element) continue;
        bool photo = false;
        if (!ReadFlag(phase.attribute("photomode").value(), photo)) return false;
        if (photo != is_photoperiod) continue;
        const pugi::xml_node e = phase.child(which);
        out.texts = std::string("value ") + e.attribute("value").value() + ", step " +
                    e.attribute("step").value() + ", min " + e.attribute("min").value() + ", max " +
                    e.attribute("max").value();
        return e && TryParseSetting(e.attribute("value").value(), out.value) &&
               TryParseSetting(e.attribute("step").value(), out.step) &&
               TryParseSetting(e.attribute("min").value(), out.min) &&
               TryParseSetting(e.attribute("max").value(), out.max);
    }
    return false;
}

const char* Flag(bool is_photoperiod) {
    return is_photoperiod ? "-1" : "0";
}

Setting Read(const std::string& path, bool is_photoperiod, const char* which) {
    Setting s{};
    if (!ReadSetting(path, is_photoperiod, which, s))
        throw EOrvexError("Error: bad or impossible reading of the phase settings file \"" + path +
                          "\" for " + which + ", photomode <" + Flag(is_photoperiod) + "> !");
    const std::string fault = SettingsBoundsFault(s.value, s.step, s.min, s.max);
    if (!fault.empty())
        throw EOrvexError("Error: the phase settings file \"" + path + "\" gives " + which + ", photomode <" +
                          Flag(is_photoperiod) + "> " + s.texts + ": " + fault + " !");
    return s;
}
} // namespace

std::string TPhase::SettingsFileName() {
    // Beside the function settings file.
    return (std::filesystem::path(TModelFunction::SettingsFileName()).parent_path() / PHASE_XML_FILE)
        .string();
}

TRVarInfo TPhase::parameterInitT0(bool is_photoperiod) const {
    return parameterInitT0XML(SettingsFileName(), is_photoperiod);
}

TRVarInfo TPhase::parameterInitSStar(bool is_photoperiod) const {
    return parameterInitSStarXML(SettingsFileName(), is_photoperiod);
}

TRVarInfo TPhase::parameterInitT0XML(const std::string& xml_file_path, bool is_photoperiod) const {
    const Setting s = Read(xml_file_path, is_photoperiod, "T0");
    TRVarInfo info;
    info.name = "T0";
    info.value = s.value;
    info.bestvalue = s.value;
    info.step = s.step;
    info.minBound = s.min;
    info.maxBound = s.max;
    info.b4_point = is_photoperiod ? 2 : 3;
    info.after_point = is_photoperiod ? 3 : 1;
    return info;
}

TRVarInfo TPhase::parameterInitSStarXML(const std::string& xml_file_path, bool is_photoperiod) const {
    const Setting s = Read(xml_file_path, is_photoperiod, "SStar");
    TRVarInfo info;
    info.name = "SStar";
    info.value = s.value * coeffSStar;
    info.bestvalue = info.value;
    info.step = s.step * coeffSStar;
    info.minBound = s.min; // the lower bound is not scaled
    info.maxBound = s.max * coeffSStar;
    info.b4_point = 6;
    info.after_point = 3;
    return info;
}
