#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "board/ListBoard.h"
#include "protocol/Communicator.h"
#include "search/SearchResult.h"

namespace zomar {

class SearchEngine : public Communicator {
public:
    using Communicator::Communicator;
};

class TranspositionTable;

// The engine: game commands, the search driver and the benchmark command.
class ABPNSEngine : public SearchEngine {
public:
    explicit ABPNSEngine(const std::string& programPath);
    ~ABPNSEngine() override;

    void OnTurn(std::uint32_t x, std::uint32_t y) override;
    void OnBegin() override;
    void OnBoard(std::vector<BoardStone> stones) override;
    void OnStart(std::uint32_t width, std::uint32_t height) override;
    void OnRestart() override;
    void OnTakeback(std::uint32_t x, std::uint32_t y) override;
    void OnPlay(std::uint32_t x, std::uint32_t y) override;
    void OnMaxMemory(std::int32_t bytes) override;
    bool OnOtherCommand(const std::string& command, const std::string& arguments) override;

    virtual SearchResult ThinkMove();
    virtual void PlayMove(Coord point, bool byOpponent);
    virtual void NewBoard();
    virtual void AllocateSearchMemory();

    std::int32_t lastMover = 4;
    bool engineToMove = false;

    std::unique_ptr<ListBoard> gameBoard;
    bool firstThinkDone = false;
    std::unique_ptr<TranspositionTable> transpositionTable;
    std::int32_t vcfNodeCount = 0;
    std::uint32_t maxPlyReached = 0;
};

}  // namespace zomar
