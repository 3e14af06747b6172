#include "analysis/ProcessTables.h"

#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "board/Geometry.h"

namespace zomar {

void BuildProcessTables(std::uint32_t width, std::uint32_t height, std::int32_t rule) {
    const bool sameSize = neighbourList && boardWidth == width && boardHeight == height;
    ReleaseAnalysisTables();
    if (!sameSize) SetBoardSize(width, height);
    gameRule = rule;
    InitAnalysisTables();
    // The process's first build starts from rule 0 whatever was asked.
    if (gameRule != rule) {
        ReleaseAnalysisTables();
        gameRule = rule;
        InitAnalysisTables();
    }
}

void ReleaseProcessTables() {
    ReleaseGeometryTables();
    ReleaseAnalysisTables();
}

}  // namespace zomar
