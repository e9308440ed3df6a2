#include "FitExport.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <pugixml.hpp>

#include "FileReplace.h"
#include "MetaModel.h"
#include "NumberText.h"
#include "OrvexError.h"
#include "UtilStuff.h"

namespace {

class TStringWriter final : public pugi::xml_writer {
public:
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
    std::string text;
};

void Leaf(pugi::xml_node parent, const char* name, const std::string& value) {
    parent.append_child(name).append_attribute("value").set_value(value.c_str());
}

void AppendFit(pugi::xml_node fits, const TFitExport& fit) {
    pugi::xml_node node = fits.append_child("Fit");
    pugi::xml_node files = node.append_child("FilesPath");
    Leaf(files, "MeteoFile", fit.meteoFile);
    Leaf(files, "PhenoFile", fit.phenoFile);
    Leaf(files, "FitInfoFile", fit.fitInfoFile);
    Leaf(files, "OutputFile", fit.outputFile);
    const TOptimSettingsText& o = fit.optim;
    pugi::xml_node optim = node.append_child("Optimization");
    Leaf(optim, "NbRepetitions", o.NbRepetitions);
    Leaf(optim, "NbGlobalSearch", o.NbGlobalSearch);
    Leaf(optim, "NbVeryGlobalSearch", o.NbVeryGlobalSearch);
    Leaf(optim, "MetPrecision", o.MetPrecision);
    Leaf(optim, "MetropolisTemperature", o.MetropolisTemperature);
    Leaf(optim, "TemperatureClimbRate", o.TemperatureClimbRate);
    Leaf(optim, "NtrLoops", o.NtrLoops);
    Leaf(optim, "NtsLoops", o.NtsLoops);
    Leaf(optim, "NbLoopsConfInt", o.NbConfidenceInterval);
    Leaf(optim, "TemperatureConfInt", o.TemperatureConfInt);
    Leaf(optim, "MaxMissingTemp", o.MaxMissingTemp);
    Leaf(optim, "SkipFisher", myBoolToStr2(o.SkipFisher));
    Leaf(optim, "LeaveOneOut", myBoolToStr2(o.LeaveOneOut));
    fit.model->SaveToXML(node);
}

void Save(const pugi::xml_document& doc, const std::string& target) {
    TStringWriter out;
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    ReplaceFileContents(target, out.text);
}

} // namespace

std::string WithXmlExtension(const std::string& name) {
    const std::string ext = ".xml";
    const bool has =
        name.size() >= ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0;
    return has ? name : name + ext;
}

void ExportNewFitFile(const std::string& target, const TFitExport& fit) {
    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version").set_value("1.0");
    decl.append_attribute("encoding").set_value("UTF-8");
    AppendFit(doc.append_child("Fits"), fit);
    Save(doc, target);
}

void AppendFitToFile(const std::string& existing, const std::string& target, const TFitExport& fit) {
    std::ifstream in(existing, std::ios::binary);
    if (!in) throw EOrvexError("Cannot open the fit file \"" + existing + "\"");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    pugi::xml_document doc;
    const pugi::xml_parse_result res = doc.load_buffer(text.data(), text.size());
    if (!res) {
        const auto upTo =
            text.begin() + std::min<std::ptrdiff_t>(res.offset, static_cast<std::ptrdiff_t>(text.size()));
        const auto line = 1 + std::count(text.begin(), upTo, '\n');
        throw EOrvexError("Fit file \"" + existing + "\", line " + IntToStr(line) + ": " + res.description());
    }
    pugi::xml_node fits = doc.child("Fits");
    if (!fits) throw EOrvexError("Fit file \"" + existing + "\" has no <Fits> element");
    AppendFit(fits, fit);
    Save(doc, target);
}
