// The model file: structure and settings of every phase and function, no run results.

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <pugixml.hpp>
#include <sstream>

#include "MetaModel.h"
#include "NumberText.h"
#include "OrvexError.h"
#include "UtilStuff.h"

namespace {
// Shortest text that reads back as the same double.
std::string ExactText(double v) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

const char* BoolText(bool b) {
    return b ? "True" : "False";
}

void SetNumber(pugi::xml_node e, const char* attr, double v) {
    e.append_attribute(attr).set_value(ExactText(v).c_str());
}
void SetInt(pugi::xml_node e, const char* attr, long long v) {
    e.append_attribute(attr).set_value(IntToStr(v).c_str());
}

void SaveParams(pugi::xml_node parent, TModelFunction& f) {
    for (int k = 0; k < f.nbOfParameters(); ++k) {
        TRVarInfo info;
        f.parameterInitValues(k, info);
        pugi::xml_node p = parent.append_child("Param");
        SetInt(p, "id", k);
        p.append_attribute("fixed").set_value(BoolText(f.parameterFixed(k)));
        p.append_attribute("name").set_value(info.name.c_str());
        SetNumber(p, "value", f.getParameterValue(k));
    }
}

// Reads elements and attributes, naming the file and line of whatever is wrong.
class Reader {
public:
    Reader(const std::string& fileName, const std::string& text) : fileName_(fileName), text_(text) {}

    [[noreturn]] void Fail(pugi::xml_node at, const std::string& what) const {
        std::string where;
        if (!fileName_.empty()) where = "Model file \"" + fileName_ + "\"";
        const std::ptrdiff_t offset = at.offset_debug();
        if (!text_.empty() && offset >= 0 && static_cast<std::size_t>(offset) <= text_.size()) {
            const auto line = 1 + std::count(text_.begin(), text_.begin() + offset, '\n');
            where += (where.empty() ? "Model file, line " : ", line ") + IntToStr(line);
        }
        throw EOrvexError(where.empty() ? what : where + ": " + what);
    }

    pugi::xml_node Child(pugi::xml_node e, const char* name) const {
        const pugi::xml_node c = e.child(name);
        if (!c) Fail(e, "element <" + std::string(e.name()) + "> has no <" + name + "> element");
        return c;
    }
    const char* Text(pugi::xml_node e, const char* attr) const {
        const pugi::xml_attribute a = e.attribute(attr);
        if (!a) Fail(e, "element <" + std::string(e.name()) + "> has no attribute " + attr);
        return a.value();
    }
    bool Bool(pugi::xml_node e, const char* attr) const { return myStrToBool2(Text(e, attr)); }
    int Int(pugi::xml_node e, const char* attr) const {
        int v = 0;
        if (!TryParseInt(Text(e, attr), v))
            Fail(e, "attribute " + std::string(attr) + " \"" + Text(e, attr) + "\" is not an integer");
        return v;
    }
    double Number(pugi::xml_node e, const char* attr) const {
        double v = 0.0;
        if (!TryParseSetting(Text(e, attr), v))
            Fail(e, "attribute " + std::string(attr) + " \"" + Text(e, attr) + "\" is not a number");
        return v;
    }
    template <class E> E Ordinal(pugi::xml_node e, const char* attr, int last) const {
        const int v = Int(e, attr);
        if (v < 0 || v > last)
            Fail(e, "attribute " + std::string(attr) + " " + IntToStr(v) + " is not between 0 and " +
                        IntToStr(last));
        return static_cast<E>(v);
    }
    std::unique_ptr<TModelFunction> Function(pugi::xml_node e) const {
        try {
            return TModelFunction::GetFunction(Text(e, "name"));
        } catch (const EOrvexError& err) {
            Fail(e, err.what());
        }
    }
    // Param children by position, one for each parameter; other elements are skipped.
    void Params(pugi::xml_node e, TModelFunction& f) const {
        int k = 0;
        for (pugi::xml_node p = e.child("Param"); p; p = p.next_sibling("Param"), ++k) {
            if (k >= f.nbOfParameters())
                Fail(p, "function " + f.getName() + " has " + IntToStr(f.nbOfParameters()) + " parameters");
            const double v = Number(p, "value");
            if (Bool(p, "fixed"))
                f.fixParameter(k, v);
            else
                f.setParameterValue(k, v);
        }
        // A parameter without its element would silently keep the kind's default value.
        if (k < f.nbOfParameters())
            Fail(e, "function " + f.getName() + " has " + IntToStr(f.nbOfParameters()) +
                        " parameters but only " + IntToStr(k) + " <Param> elements");
    }

private:
    const std::string& fileName_;
    const std::string& text_;
};

std::unique_ptr<TPhase> ReadPhase(const Reader& r, pugi::xml_node e, int index) {
    auto phase = std::make_unique<TPhase>(nullptr, TFunctionList{}, index);
    phase->usedToFit = r.Bool(e, "usedToFit");
    phase->phenoDataColumn = r.Int(e, "phenoDataColumn");

    const pugi::xml_node t0 = r.Child(e, "T0");
    phase->t0Mode = r.Ordinal<TPhaseT0Mode>(t0, "mode", 3);
    phase->t0 = r.Number(t0, "value");
    phase->t0DataColumn = r.Int(t0, "t0DataColumn");
    phase->photoperiodMode = r.Ordinal<TPhotoperiodMode>(t0, "photomode", 2);

    const std::string sampling = r.Text(r.Child(e, "TempSamplingFunc"), "value");
    if (sampling == "tempheur")
        phase->tempHourFunction = std::make_unique<TTempHourFunc>(TempHeur, "tempheur");
    else if (!sampling.empty())
        phase->tempHourFunction = std::make_unique<TTempHourFunc>(TempHeur_shark, "tempheur_shark");

    const pugi::xml_node sStar = r.Child(e, "SStar");
    phase->sStar = r.Number(sStar, "value");
    phase->sStarFixed = r.Bool(sStar, "fixed");
    phase->phaseLinkMode = r.Ordinal<TPhaseLinkMode>(r.Child(e, "PhaseLinkMode"), "value", 3);

    const pugi::xml_node overlap = r.Child(e, "OverlapFunction");
    phase->overlapFunc = r.Function(overlap);
    r.Params(overlap, *phase->overlapFunc);

    int j = 0;
    for (pugi::xml_node fe = r.Child(e, "Functions").first_child(); fe; fe = fe.next_sibling()) {
        if (fe.type() != pugi::node_element) continue;
        auto f = r.Function(fe);
        f->SetIndices(index, j++);
        f->workWithTempHour(phase->tempHourFunction.get());
        f->useDayLengthAsVar = r.Bool(r.Child(fe, "UseDayLengthAsVar"), "value");
        f->SetWeatherDataColumn(r.Int(fe, "weatherDataColumn"));
        f->varLinkMode = r.Ordinal<TVarLinkMode>(r.Child(fe, "VarLinkMode"), "value", 2);
        f->weight = r.Number(r.Child(fe, "Weight"), "value");
        r.Params(fe, *f);
        phase->PushFunction(std::move(f));
    }
    return phase;
}
} // namespace

void TMetaModel::SaveToXML(pugi::xml_node parent) const {
    pugi::xml_node model = parent.append_child("Model");
    model.append_attribute("name").set_value(name.c_str());
    pugi::xml_node phases = model.append_child("Phases");
    for (const auto& ph : PhasesArr) {
        pugi::xml_node p = phases.append_child("Phase");
        SetInt(p, "id", ph->index);
        p.append_attribute("usedToFit").set_value(BoolText(ph->usedToFit));
        SetInt(p, "phenoDataColumn", ph->phenoDataColumn);

        pugi::xml_node t0 = p.append_child("T0");
        SetInt(t0, "mode", static_cast<int>(ph->t0Mode));
        SetNumber(t0, "value", ph->t0);
        SetInt(t0, "t0DataColumn", ph->t0DataColumn);
        SetInt(t0, "photomode", static_cast<int>(ph->photoperiodMode));

        p.append_child("TempSamplingFunc")
            .append_attribute("value")
            .set_value(ph->tempHourFunction ? ph->tempHourFunction->name.c_str() : "");
        pugi::xml_node s = p.append_child("SStar");
        s.append_attribute("fixed").set_value(BoolText(ph->sStarFixed));
        SetNumber(s, "value", ph->sStar);
        SetInt(p.append_child("PhaseLinkMode"), "value", static_cast<int>(ph->phaseLinkMode));

        pugi::xml_node o = p.append_child("OverlapFunction");
        o.append_attribute("name").set_value(ph->overlapFunc->getName().c_str());
        SaveParams(o, *ph->overlapFunc);

        pugi::xml_node fs = p.append_child("Functions");
        for (const auto& f : ph->functions) {
            pugi::xml_node fe = fs.append_child("Function");
            SetInt(fe, "id", f->phasePos);
            fe.append_attribute("name").set_value(f->getName().c_str());
            SetInt(fe, "weatherDataColumn", f->GetWeatherDataColumn());
            fe.append_child("UseDayLengthAsVar")
                .append_attribute("value")
                .set_value(BoolText(f->useDayLengthAsVar));
            SetInt(fe.append_child("VarLinkMode"), "value", static_cast<int>(f->varLinkMode));
            SetNumber(fe.append_child("Weight"), "value", f->weight);
            SaveParams(fe, *f);
        }
    }
}

void TMetaModel::SaveToXML(const std::string& a_filename) const {
    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version").set_value("1.0");
    decl.append_attribute("encoding").set_value("UTF-8");
    SaveToXML(static_cast<pugi::xml_node>(doc));
    if (a_filename.empty()) return;
    // A failed write leaves the old file as it was.
    const std::string tmp = a_filename + ".tmp";
    if (!doc.save_file(tmp.c_str(), "  ", pugi::format_default, pugi::encoding_utf8)) {
        std::error_code ec;
        std::filesystem::remove(tmp, ec);
        throw EOrvexError("Cannot write the model file \"" + a_filename + "\"");
    }
    std::error_code ec;
    std::filesystem::rename(tmp, a_filename, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        throw EOrvexError("Cannot write the model file \"" + a_filename + "\"");
    }
}

void TMetaModel::LoadFromXML(const std::string& a_filename) {
    LogIt("LOAD MODEL OK 0 !!!!!!!!!!");
    std::ifstream in(a_filename, std::ios::binary);
    if (!in) throw EOrvexError("Cannot open the model file \"" + a_filename + "\"");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    pugi::xml_document doc;
    const pugi::xml_parse_result res = doc.load_buffer(text.data(), text.size());
    if (!res) {
        const auto line =
            1 +
            std::count(text.begin(), text.begin() + std::min<std::ptrdiff_t>(res.offset, text.size()), '\n');
        throw EOrvexError("Model file \"" + a_filename + "\", line " + IntToStr(line) + ": " +
                          res.description());
    }
    const pugi::xml_node model = doc.child("Model");
    if (!model) throw EOrvexError("Model file \"" + a_filename + "\" has no <Model> element");
    LoadPhases(model, a_filename, text);
    LogIt("LOAD MODEL OK 2 !!!!!!!!!!");
    LogIt("LOAD MODEL OK 3 !!!!!!!!!!");
}

void TMetaModel::LoadFromXML(pugi::xml_node model_node) {
    LoadPhases(model_node, std::string(), std::string());
}

void TMetaModel::LoadPhases(pugi::xml_node model_node, const std::string& fileName, const std::string& text) {
    const Reader r(fileName, text);
    // Everything is read before the model changes, so a bad file leaves it as it was.
    const std::string newName = r.Text(model_node, "name");
    std::vector<std::unique_ptr<TPhase>> phases;
    for (pugi::xml_node e = r.Child(model_node, "Phases").first_child(); e; e = e.next_sibling()) {
        if (e.type() != pugi::node_element) continue;
        LogIt(std::string("#") + e.name());
        phases.push_back(ReadPhase(r, e, GetNbPhases() + static_cast<int>(phases.size())));
    }
    name = newName;
    for (auto& ph : phases)
        PushPhase(std::move(ph));
    LogIt("LOAD MODEL OK 1 !!!!!!!!!!");
}
