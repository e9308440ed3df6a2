#include "FitRows.h"

#include <algorithm>
#include <tuple>
#include <unordered_map>

#include "MetaModel.h"
#include "RowGaps.h"
#include "Weather.h"

namespace {

// A row's gaps, nothing for a row that does not run.
TRowGaps GapsOfRow(const TRowGapCounter& counter, const TWeather& wea, const TRPhenoInfos& pheno, int k) {
    const TRPhenoData& row = pheno.tabPheno[static_cast<std::size_t>(k)];
    if (row.dates.empty() || k >= static_cast<int>(pheno.tabWeatherIdx.size())) return {};
    const int w = pheno.tabWeatherIdx[static_cast<std::size_t>(k)];
    if (w < 0 || w >= wea.NbYears()) return {};
    return counter.Count(wea.Year(w), row);
}

} // namespace

std::shared_ptr<const TFitRows> MatchFitRows(const TMetaModel& model, const TWeather& wea,
                                             const TRPhenoInfos& pheno, const TRFitInfo& fit,
                                             int missingThreshold) {
    // The first phenology row of each key, through a hash map: a fit may have thousands of rows.
    struct KeyHash {
        std::size_t operator()(const std::tuple<int, int, int>& t) const {
            const auto [a, b, c] = t;
            return (static_cast<std::size_t>(static_cast<unsigned>(a)) * 0x9E3779B1u) ^
                   (static_cast<std::size_t>(static_cast<unsigned>(b)) * 0x85EBCA77u) ^
                   static_cast<std::size_t>(static_cast<unsigned>(c)) * 0xC2B2AE3Du;
        }
    };
    std::unordered_map<std::tuple<int, int, int>, int, KeyHash> firstRow;
    for (int k = pheno.nb_obs() - 1; k >= 0; --k) {
        const TRPhenoData& pr = pheno.tabPheno[static_cast<std::size_t>(k)];
        firstRow[{pr.station, pr.provenance, pr.year}] = k;
    }
    const TRowGapCounter counter(model);
    auto rows = std::make_shared<TFitRows>();
    rows->phenoRowOfFit.reserve(fit.tabFit.size());
    for (const TRInfoData& fr : fit.tabFit) {
        const auto at = firstRow.find({fr.station, fr.provenance, fr.year});
        const int found = at == firstRow.end() ? -1 : at->second;
        rows->allMatched = rows->allMatched && found >= 0;
        rows->phenoRowOfFit.push_back(found);
        const TRowGaps gaps = found >= 0 ? GapsOfRow(counter, wea, pheno, found) : TRowGaps{};
        const bool aside = gaps.count > missingThreshold;
        rows->gapRow.push_back(aside ? 1 : 0);
        if (aside) {
            ++rows->gapRows;
            rows->maxGapCount = std::max(rows->maxGapCount, gaps.count);
            rows->gapOutsideData = rows->gapOutsideData || gaps.outsideData;
        }
    }
    return rows;
}
