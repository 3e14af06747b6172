#include <stdlib.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "referee/CommandLine.h"
#include "referee/Referee.h"
#include "referee/Report.h"
#include "referee/Schedule.h"

using namespace zomar::referee;

namespace {

// The brains' working directory and "info folder": fresh for every run.
std::string MakeWorkingFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zomar-referee-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary directory");
    return pattern;
}

int Run(RefereeSettings settings) {
    const std::vector<GameSetup> schedule = BuildSchedule(settings.schedule);
    std::unique_ptr<std::ofstream> transcript;
    if (!settings.transcriptPath.empty()) {
        transcript = std::make_unique<std::ofstream>(settings.transcriptPath);
        if (!*transcript) throw std::runtime_error("cannot write " + settings.transcriptPath);
    }
    settings.match.folder = MakeWorkingFolder();
    const std::string folder = settings.match.folder;

    Tally tally;
    {
        Referee referee(settings.match, transcript.get());
        for (std::size_t i = 0; i < schedule.size(); ++i) {
            const GameReport report = referee.PlayGame(schedule[i]);
            tally.Add(report);
            std::cout << DescribeGame(static_cast<int>(i + 1), static_cast<int>(schedule.size()), report,
                                      settings.match.turnMs)
                      << std::flush;
        }
        const std::vector<Fault> closing = referee.Finish();
        for (const Fault& fault : closing) {
            std::cout << "fault at END: " << FaultKindName(fault.kind) << " by " << (fault.seat == 0 ? 'A' : 'B')
                      << ": " << fault.detail << '\n';
        }
        tally.AddFaults(closing);
        std::cout << tally.Summary(settings.match, referee.PeakMemory(0), referee.PeakMemory(1));
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return tally.Clean() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        RefereeSettings settings = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
        if (settings.help) {
            std::cout << UsageText;
            return 0;
        }
        return Run(std::move(settings));
    } catch (const std::exception& error) {
        std::cerr << "zomar-referee: " << error.what() << '\n' << UsageText;
        return 2;
    }
}
