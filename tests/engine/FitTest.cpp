#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <regex>
#include <set>
#include <thread>

#include "ErrorText.h"
#include "FileSizeLimit.h"
#include "Fit.h"
#include "FitOutputFile.h"
#include "Inputs.h"
#include "ModelsFuncLib.h"
#include "NumberText.h"
#include "OrvexError.h"
#include "RandomDistrib.h"
#include "ScratchDir.h"
#include "SeededFit.h"
#include "UtilStuff.h"

namespace fs = std::filesystem;

namespace {

const fs::path DATA = fs::path(ORVEX_TEST_DATA) / "fit";

// One phase from day 1 (fixed), one degree-day function on the mean temperature.
std::unique_ptr<TMetaModel> GddModel() {
    auto model = std::make_unique<TMetaModel>();
    model->name = "GDD model";
    auto phase = std::make_unique<TPhase>(nullptr, TFunctionList{}, 0);
    auto f = TModelFunction::GetFunction("GDD");
    f->SetWeatherDataColumn(0);
    phase->PushFunction(std::move(f));
    phase->FixT0(1.0);
    phase->phenoDataColumn = 0;
    phase->usedToFit = true;
    model->PushPhase(std::move(phase));
    return model;
}

const std::set<std::string> INPUTS = {"climate.txt", "pheno.txt", "fitinfo.txt", "fitinfo_loo.txt"};

// Names of the files in a folder.
std::set<std::string> FilesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.insert(e.path().filename().string());
    return names;
}

class FitRun : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        Reset();
    }
    // The test inputs alone in the folder.
    void Reset() {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        for (const std::string& name : INPUTS)
            fs::copy_file(DATA / name, dir_ / name);
    }

    std::unique_ptr<TFit> MakeFit(const TRMetropolisDesc& md, const std::string& info, bool leaveOneOut,
                                  bool skipFisher, std::unique_ptr<TMetaModel> model = GddModel()) {
        auto fit = std::make_unique<TFit>(std::move(model), md, P("climate.txt"), P("pheno.txt"), P(info),
                                          P("out.txt"), 10, leaveOneOut);
        fit->SetSkipFisher(skipFisher);
        fit->SetRandomGenerator(std::make_unique<TUniDistrib>(11, 22, 33, 44));
        return fit;
    }
    void RunToEnd(TFit& fit) {
        fit.Prepare(); // raises on failure
        fit.Start();
        fit.WaitFor();
        ASSERT_TRUE(fit.Finished());
    }
    // Each of `names` still holds "earlier", and the folder holds them and the inputs alone.
    template <class Names> void ExpectEarlierFilesAlone(const Names& names) {
        std::set<std::string> expected = INPUTS;
        for (const char* name : names) {
            EXPECT_EQ(ReadWholeFile(P(name)), "earlier") << name;
            expected.insert(name);
        }
        EXPECT_EQ(FilesIn(dir_), expected);
    }
    // Compares the file, its folder and version replaced so that the golden file fits any machine.
    void ExpectGolden(const std::string& name, const std::string& golden) {
        std::string actual = ReadWholeFile(P(name));
        for (const auto& [from, to] :
             {std::pair{dir_.string() + "/", std::string("<DIR>/")},
              std::pair{"Version : " + ApplicationVersion(), std::string("Version : <VERSION>")}}) {
            for (std::size_t at = actual.find(from); at != std::string::npos;
                 at = actual.find(from, at + to.size()))
                actual.replace(at, from.size(), to);
        }
        const fs::path goldenPath = DATA / golden;
        const std::string expected =
            fs::exists(goldenPath) ? ReadWholeFile(goldenPath.string()) : std::string();
        if (actual != expected) {
            std::ofstream(P("actual_" + golden), std::ios::binary) << actual;
            ADD_FAILURE() << name << " differs from " << golden << "; actual text in "
                          << P("actual_" + golden);
        }
    }
};

// A LF without its CR, or a CR without its LF.
const std::regex LONE_LINE_END("(^|[^\r])\n|\r([^\n]|$)");

// A search long enough to be caught running.
TRMetropolisDesc LongSearch() {
    TRMetropolisDesc md = SmallSearch(50);
    md.ntr = 200;
    md.nts = 50;
    return md;
}

bool WaitUntil(const std::function<bool()>& done, int ms = 20000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace

TEST_F(FitRun, SeededFitsWriteTheGoldenFiles) {
    // The objective's rows on threads write the same files, to the byte.
    for (const int workers : {0, 3}) {
        SCOPED_TRACE(std::to_string(workers) + " row workers");
        Reset();
        auto fit = MakeFit(SmallSearch(2), "fitinfo.txt", false, false);
        fit->SetRowWorkers(workers);
        RunToEnd(*fit);
        EXPECT_FALSE(fit->Error()) << fit->ErrorInfo();
        EXPECT_EQ(fit->Advancement(), 100);
        ExpectGolden("out.txt", "golden_out.txt");
        ExpectGolden("Fisher_out.txt", "golden_fisher.txt");

        std::set<std::string> expected = INPUTS;
        expected.insert({"out.txt", "SA_out.txt", "Fisher_out.txt"});
        EXPECT_EQ(FilesIn(dir_), expected); // no temporary file left
    }
}

TEST_F(FitRun, LeaveOneOutWritesOneSummaryPerPass) {
    auto fit = MakeFit(SmallSearch(1), "fitinfo_loo.txt", true, true);
    fit->Prepare();
    // Prepare opens the sensitivity file only when asked to: a later change must not make the
    // run write to, or close, a file that was never opened.
    fit->SetSkipFisher(false);
    fit->Start();
    fit->WaitFor();
    EXPECT_FALSE(fit->Error()) << fit->ErrorInfo();
    EXPECT_EQ(fit->Repetitions().size(), 3u);
    ExpectGolden("out.txt", "golden_out_loo.txt");
    EXPECT_FALSE(fs::exists(P("SA_out.txt")));
    EXPECT_FALSE(fs::exists(P("Fisher_out.txt")));
}

TEST_F(FitRun, EveryLeaveOneOutPassStartsFromTheSameModel) {
    // T0 from the data, 1 in the model: 2001 has none and takes the model's. The first pass
    // leaves 2001 out and fails (2002 and 2003 observed on one day); its last run read T0 40.
    WriteFile("pheno.txt", "Station\tProvenance\tYear\tBudburst\tT0\n1\t1\t2001\t124\t-9999\n"
                           "1\t1\t2002\t130\t1\n1\t1\t2003\t130\t40\n");
    auto model = GddModel();
    model->PhasesArr[0]->t0Mode = TPhaseT0Mode::PickedFromPheno;
    model->PhasesArr[0]->t0DataColumn = 1;
    auto fit = MakeFit(SmallSearch(1), "fitinfo_loo.txt", true, true, std::move(model));
    RunToEnd(*fit);
    EXPECT_EQ(fit->ErrorInfo().rfind("The number of NON-MISSING observations for the Fit <0>", 0), 0u);
    ASSERT_EQ(fit->Repetitions().size(), 2u);
    for (const TRepetition* rep : fit->Repetitions())
        EXPECT_EQ(rep->moindCarrD.var_info[0].value, 1.0); // the T0 that 2001 is scored from
}

TEST_F(FitRun, AnExactFitIsAPerfectFitNotMissingData) {
    // Observed dates are the model's own: every parameter fixed, the sum of squares is 0.
    auto model = GddModel();
    model->FunctionsArr[0]->fixParameter(0, 4.0);
    model->PhasesArr[0]->sStarFixed = true;
    model->PhasesArr[0]->sStar = 320.0;
    TWeather W;
    TRPhenoInfos probe = read_pheno_infos(P("pheno.txt"));
    W.LoadAndPheno(P("climate.txt"), probe);
    model->Initialize(10, probe);
    std::string pheno = "Station\tProvenance\tYear\tBudburst\n";
    for (int k = 0; k < probe.nb_obs(); ++k) {
        model->Run(k);
        pheno += "1\t1\t" + std::to_string(probe.tabPheno[static_cast<std::size_t>(k)].year) + "\t" +
                 FloatToStrGeneral(model->DatePredictedArr[0], 17) + "\n";
    }
    std::ofstream(P("pheno.txt"), std::ios::trunc) << pheno;

    // A perfect fit cannot be bettered: the other repetitions are skipped.
    auto fit = MakeFit(SmallSearch(3), "fitinfo.txt", false, true, std::move(model));
    RunToEnd(*fit);
    EXPECT_FALSE(fit->Error()) << fit->ErrorInfo();
    ASSERT_EQ(fit->Repetitions().size(), 1u);
    EXPECT_EQ(fit->Repetitions()[0]->SSres, 0.0);
    EXPECT_EQ(fit->Repetitions()[0]->EFF, 1.0);
}

// An input fault ends the fit with an error that says why. Found while reading, or leaving the
// fit without a result, it leaves no file behind; reported once the fit ended, it leaves whole
// output and Fisher files (CR LF lines), the Fisher file empty when its statistics could not be
// computed.
TEST_F(FitRun, InputFaultsEndTheFitSayingWhy) {
    const struct {
        const char* file;
        std::string text; // replaces the file, or goes at its end
        bool append;
        std::string message;
        std::size_t repetitions;
        const char* fisher; // none: no output file at all
    } cases[] = {
        {"pheno.txt", "Station\tProvenance\tYear\tBudburst\n1\t1\t2001\t12,5\n", false,
         "The pheno file is defective at line 2 (\"" + P("pheno.txt") + "\"): \"12,5\" is not a number", 0,
         nullptr},
        {"fitinfo.txt", "7\t1\t2001\n", true,
         "The fit info file is defective at line 6 (\"" + P("fitinfo.txt") +
             "\"): station 7, provenance 1, year 2001 has no row in the phenology data file \"" +
             P("pheno.txt") + "\"",
         0, nullptr},
        {"fitinfo.txt", "Station\tProvenance\tYear\n1\t1\t2001\n", false,
         "The number of NON-MISSING observations for the Fit <0>\nis \"less or equal to 1\"... "
         "Not enought data to do the job...",
         0, nullptr},
        // Two scored observations: the statistic's divisor (n - 1) - 1 is 0 on the helper thread.
        {"fitinfo.txt", "Station\tProvenance\tYear\n1\t1\t2001\n1\t1\t2002\n", false,
         "Data insufficient to calculate the fisher statistics\nEOrvexError: Fisher statistic: "
         "division by zero (as many parameters as observations)",
         1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Reset();
        std::ofstream(P(c.file), c.append ? std::ios::app : std::ios::trunc) << c.text;
        auto fit = MakeFit(SmallSearch(1), "fitinfo.txt", false, false);
        RunToEnd(*fit);
        EXPECT_TRUE(fit->Error());
        EXPECT_EQ(fit->ErrorInfo(), c.message);
        EXPECT_EQ(fit->Repetitions().size(), c.repetitions);
        if (c.fisher != nullptr) {
            EXPECT_FALSE(std::regex_search(ReadWholeFile(P("out.txt")), LONE_LINE_END));
            EXPECT_EQ(ReadWholeFile(P("Fisher_out.txt")), c.fisher);
        } else {
            EXPECT_LT(fit->Advancement(), 100);
            EXPECT_EQ(FilesIn(dir_), INPUTS);
        }
    }
}

const std::string NOT_ENOUGH_DATA = "The number of NON-MISSING observations for the Fit <0>\nis \"less or "
                                    "equal to 1\"... Not enought data to do the job...";

// Observations all on one day leave nothing to fit: the fit says so before any search, and a fit
// without a result leaves the earlier files as they were.
TEST_F(FitRun, AFitWithoutResultKeepsTheEarlierFiles) {
    WriteFile("pheno.txt", "Station\tProvenance\tYear\tBudburst\n1\t1\t2001\t124\n1\t1\t2002\t124\n");
    WriteFile("fitinfo.txt", "Station\tProvenance\tYear\n1\t1\t2001\n1\t1\t2002\n");
    const char* const earlier[] = {"out.txt", "SA_out.txt", "Fisher_out.txt"};
    for (const char* name : earlier)
        WriteFile(name, "earlier");
    auto fit = MakeFit(SmallSearch(2), "fitinfo.txt", false, false);
    RunToEnd(*fit);
    EXPECT_EQ(fit->ErrorInfo(), NOT_ENOUGH_DATA);
    EXPECT_EQ(fit->MetropolisProgress()[1], ""); // no search ran
    ExpectEarlierFilesAlone(earlier);
}

// The last pass of a leave-one-out fit, left with two observations of one day, has nothing to fit:
// its error is the fit's, not the Fisher step's that follows, and the passes that succeeded are
// written.
TEST_F(FitRun, ALastPassWithoutResultReportsItsOwnCause) {
    WriteFile("pheno.txt", "Station\tProvenance\tYear\tBudburst\n1\t1\t2001\t124\n1\t1\t2002\t124\n"
                           "1\t1\t2003\t129\n");
    auto fit = MakeFit(SmallSearch(1), "fitinfo_loo.txt", true, false);
    RunToEnd(*fit);
    EXPECT_EQ(fit->ErrorInfo(), NOT_ENOUGH_DATA);
    EXPECT_EQ(fit->Repetitions().size(), 2u);
    EXPECT_NE(ReadWholeFile(P("out.txt")).find("[ Left fit : 2 ]"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(P("Fisher_out.txt")), ""); // no best sum of squares to compare with
}

// A full disk while the Fisher file is written: none of the three files replaces the earlier
// ones, and the error names the write that failed. The limit lets the output and sensitivity
// files be written whole but not the Fisher file, the longest of the three.
TEST_F(FitRun, AFullDiskAtTheFisherFileKeepsTheEarlierFiles) {
    const char* const names[] = {"out.txt", "SA_out.txt", "Fisher_out.txt"};
    RunToEnd(*MakeFit(SmallSearch(2), "fitinfo.txt", false, false));
    const auto size = [&](const char* name) { return fs::file_size(P(name)); };
    const auto limit = std::max(size("out.txt"), size("SA_out.txt"));
    ASSERT_LT(limit, size("Fisher_out.txt"));
    for (const char* name : names)
        WriteFile(name, "earlier");

    const std::string error = WithFileSizeLimit(limit, [&] {
        auto fit = MakeFit(SmallSearch(2), "fitinfo.txt", false, false);
        RunToEnd(*fit);
        return fit->ErrorInfo();
    });
    EXPECT_EQ(error, "Cannot write the file \"" + P("Fisher_out.txt") + "\": " + std::strerror(EFBIG));
    ExpectEarlierFilesAlone(names);
}

TEST_F(FitRun, ARowThatNoRunCanScoreIsSetAsideBeforeTheSearch) {
    // The 2001 row has no T0 of its own: it runs from the model's T0 -50, in days of 2000 that
    // the climate file lacks or holds only as gaps. The other rows start on day 1 of their year.
    auto model = [] {
        auto m = GddModel();
        TPhase& phase = *m->PhasesArr[0];
        phase.t0Mode = TPhaseT0Mode::PickedFromPheno;
        phase.t0 = -50.0;
        phase.t0DataColumn = 1;
        return m;
    };
    WriteFile("pheno.txt", "Station\tProvenance\tYear\tBudburst\tStart\n1\t1\t2001\t124\t-9999\n"
                           "1\t1\t2002\t125\t1\n1\t1\t2003\t129\t1\n1\t1\t2004\t134\t1\n");
    WriteFile("fitinfo_2001.txt", "Station\tProvenance\tYear\n1\t1\t2001\n");
    const std::string climate = ReadWholeFile(P("climate.txt"));
    // The same lines as year 2000, every mean temperature missing.
    const std::regex year2001("\n1\t45\\.0\t2001\t([0-9]+)\t[^\t]*");
    std::string gaps;
    for (std::sregex_iterator m(climate.begin(), climate.end(), year2001), end; m != end; ++m)
        gaps += "1\t45.0\t2000\t" + (*m)[1].str() + "\t-9999\t-1\t1\n";
    const std::size_t body = climate.find('\n') + 1;
    const struct {
        std::string climate;
        const char* cause;
    } cases[] = {
        {climate, "\nA T0 fixed in the model or read from the phenology data starts a phase before the first "
                  "day of the climate data."},
        {climate.substr(0, body) + gaps + climate.substr(body),
         "\nThe climate data has gaps (-9999) in the days the observed rows need."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cause);
        WriteFile("climate.txt", c.climate);
        // Every run of the row meets the 51 days -50..0 missing, more than the 10 allowed: the
        // others are fitted without it.
        auto fit = MakeFit(SmallSearch(1), "fitinfo.txt", false, true, model());
        RunToEnd(*fit);
        EXPECT_EQ(fit->ErrorInfo(), "");
        ASSERT_EQ(fit->Repetitions().size(), 1u);
        EXPECT_EQ(fit->Repetitions()[0]->nbFitObsTot, 3);
        // Alone, it leaves nothing to fit, and the count says why.
        auto alone = MakeFit(SmallSearch(1), "fitinfo_2001.txt", false, true, model());
        RunToEnd(*alone);
        EXPECT_EQ(alone->ErrorInfo(), "Too many missing values ( found : 51 | max is : 10).\nUnable to fit." +
                                          std::string(c.cause));
        EXPECT_TRUE(alone->Repetitions().empty());
    }
}

TEST_F(FitRun, AGapBeyondTheThresholdEndsTheFitSayingWhy) {
    TRMetropolisDesc md = SmallSearch(3);
    md.missing_threshold = 0;
    // A mean temperature missing on day 10 of every year leaves nothing to fit from day 1: the
    // error says why.
    const std::regex day10("(\t200[1-4]\t10\t)[^\t]*");
    WriteFile("climate.txt", std::regex_replace(ReadWholeFile(P("climate.txt")), day10, "$1-9999"));
    TFit gaps(GddModel(), md, P("climate.txt"), P("pheno.txt"), P("fitinfo.txt"), P("out.txt"), 0, false);
    RunToEnd(gaps);
    EXPECT_TRUE(gaps.Error());
    const std::string why = "Too many missing values ( found : 1 | max is : 0).\nUnable to fit.\n"
                            "The climate data has gaps";
    EXPECT_EQ(gaps.ErrorInfo().substr(0, why.size()), why);
}

TEST(FitStatistics, NonFiniteValuesAreAnErrorNotAResult) {
    TRepetition rep(3, "m");
    rep.SStot = 10.0;
    rep.nbFitObsTot = 2;
    rep.moindCarrD.best_result = -4.0;
    rep.ComputeStats();
    EXPECT_EQ(NonFiniteStatistic(rep), "");
    rep.moindCarrD.best_result = -std::numeric_limits<double>::infinity();
    rep.ComputeStats();
    EXPECT_EQ(
        NonFiniteStatistic(rep).rfind("The statistics of repetition 3 are not finite numbers (SSres = ", 0),
        0u);
    rep.moindCarrD.best_result = -4.0;
    rep.SStot = std::numeric_limits<double>::quiet_NaN();
    rep.ComputeStats();
    EXPECT_NE(NonFiniteStatistic(rep).find("SStot"), std::string::npos);
}

TEST_F(FitRun, PreparationFailuresRaiseTheirMessage) {
    fs::create_directory(P("folder")); // exists, but is no input file
    const struct {
        const char* climate;
        const char* pheno;
        const char* info;
        const char* out;
        const char* message;
    } cases[] = {
        {"climate.txt", "missing.txt", "fitinfo.txt", "out.txt", "The phenology date file does not exist."},
        {"folder", "pheno.txt", "fitinfo.txt", "out.txt", "The climate data file does not exist."},
        {"climate.txt", "folder", "fitinfo.txt", "out.txt", "The phenology date file does not exist."},
        {"climate.txt", "pheno.txt", "folder", "out.txt", "The fit info file does not exist."},
        {"climate.txt", "pheno.txt", "fitinfo.txt", "no_such_dir/out.txt",
         "Output file cannot be created or is already open : "},
    };
    for (const auto& c : cases) {
        TFit fit(GddModel(), SmallSearch(1), P(c.climate), P(c.pheno), P(c.info), P(c.out), 10, false);
        const std::string error = ErrorText([&] { fit.Prepare(); });
        EXPECT_EQ(error.rfind(c.message, 0), 0u)
            << c.climate << " " << c.pheno << " " << c.info << " " << c.out << ": " << error;
        EXPECT_FALSE(fit.Error());
        EXPECT_THROW(fit.Start(), EOrvexError);
    }
    EXPECT_FALSE(fs::exists(P("out.txt")));
}

TEST_F(FitRun, QuitStopsARunningFitAndLeavesEarlierFilesUntouched) {
    const char* const earlier[] = {"out.txt", "SA_out.txt", "Fisher_out.txt"};
    for (const char* name : earlier)
        std::ofstream(P(name)) << "earlier";
    auto fit = MakeFit(LongSearch(), "fitinfo.txt", false, false);
    fit->Prepare();
    EXPECT_EQ(ReadWholeFile(P("out.txt")), "earlier");
    fit->Start();
    ASSERT_TRUE(WaitUntil([&] { return fit->Advancement() >= 50; }));
    // The window polls while the fit runs.
    for (int i = 0; i < 50; ++i) {
        (void)fit->CurrentTreatment();
        (void)fit->MetropolisProgress();
        (void)fit->Error();
    }
    fit->Quit();
    EXPECT_TRUE(fit->Finished());
    EXPECT_LT(fit->Repetitions().size(), 50u);
    EXPECT_FALSE(fit->Error()) << fit->ErrorInfo();
    ExpectEarlierFilesAlone(earlier);
}

TEST_F(FitRun, PauseHoldsTheFitResumeLetsItGoOnAndDestroyingItEndsIt) {
    auto fit = MakeFit(LongSearch(), "fitinfo.txt", false, false);
    fit->Prepare();
    fit->Pause();
    fit->Start();
    EXPECT_TRUE(fit->Paused());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::vector<std::string> held = fit->MetropolisProgress();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(fit->MetropolisProgress(), held);
    EXPECT_FALSE(fit->Finished());
    fit->Resume();
    ASSERT_TRUE(WaitUntil([&] { return fit->Advancement() >= 50; }));
    EXPECT_FALSE(fit->Error()) << fit->ErrorInfo();
    fit->Pause();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    fit.reset(); // must neither hang nor leak
}
