#include "support/PositionBuilder.h"

#include <stdexcept>

#include "analysis/AnalysisSetup.h"
#include "analysis/PatternTables.h"
#include "analysis/ProcessTables.h"
#include "board/Geometry.h"

namespace zomar::test {

namespace {

struct PlacedStone {
    std::uint32_t x;
    std::uint32_t y;
    int colour;
};

std::vector<std::string> WithoutSpaces(const std::vector<std::string>& diagram) {
    std::vector<std::string> rows;
    for (const std::string& row : diagram) {
        std::string cells;
        for (const char c : row) {
            if (c != ' ') cells += c;
        }
        rows.push_back(cells);
    }
    return rows;
}

int ColourOfCell(char c) {
    switch (c) {
    case 'x': return Colour1;
    case 'o': return Colour2;
    case '.': return EmptyCell;
    default: throw std::invalid_argument(std::string("unknown diagram cell '") + c + "'");
    }
}

// Reading order, one list per colour.
std::vector<PlacedStone> StonesOf(const std::vector<std::string>& rows, int colour) {
    std::vector<PlacedStone> stones;
    for (std::uint32_t y = 0; y < rows.size(); ++y) {
        for (std::uint32_t x = 0; x < rows[y].size(); ++x) {
            if (ColourOfCell(rows[y][x]) == colour) stones.push_back({x, y, colour});
        }
    }
    return stones;
}

std::vector<PlacedStone> AlternatingOrder(const std::vector<std::string>& rows) {
    const std::vector<PlacedStone> first = StonesOf(rows, Colour1);
    const std::vector<PlacedStone> second = StonesOf(rows, Colour2);
    std::vector<PlacedStone> order;
    for (std::size_t i = 0; i < first.size() || i < second.size(); ++i) {
        if (i < first.size()) order.push_back(first[i]);
        if (i < second.size()) order.push_back(second[i]);
    }
    return order;
}

std::vector<PlacedStone> ExplicitOrder(const std::vector<std::string>& rows, const PositionOptions& options) {
    std::vector<PlacedStone> order;
    for (const auto& [x, y] : options.order) {
        if (y >= rows.size() || x >= rows[y].size()) throw std::invalid_argument("play order leaves the diagram");
        const int colour = ColourOfCell(rows[y][x]);
        if (colour == EmptyCell) throw std::invalid_argument("play order names an empty point");
        order.push_back({x, y, colour});
    }
    if (order.size() != StonesOf(rows, Colour1).size() + StonesOf(rows, Colour2).size()) {
        throw std::invalid_argument("play order must list every stone once");
    }
    return order;
}

void Pass(ListBoard& board) { board.MakeMove(PassCoord); }

}  // namespace

PositionOptions OnBoard(std::uint32_t width, std::uint32_t height, int toMove, BoardKind kind) {
    PositionOptions options;
    options.width = width;
    options.height = height;
    options.toMove = toMove;
    options.kind = kind;
    return options;
}

void UseTables(std::uint32_t width, std::uint32_t height, int rule) {
    const bool current = boardWidth == width && boardHeight == height && gameRule == rule &&
                         sequenceSize == DirectionCount * width * height && lineUpdateList && zobristKey;
    if (!current) BuildProcessTables(width, height, rule);
}

std::unique_ptr<ListBoard> EmptyBoard(std::uint32_t width, std::uint32_t height, BoardKind kind, int rule) {
    UseTables(width, height, rule);
    return std::make_unique<ListBoard>(kind);
}

void Play(ListBoard& board, Coord p) {
    if (board.Kind() == BoardKind::Search) {
        board.MakeSearchMove(p);
    } else {
        board.MakeMove(p);
    }
}

Coord At(std::uint32_t x, std::uint32_t y) { return CoordFromXY(x, y); }

std::unique_ptr<ListBoard> BuildPosition(const std::vector<std::string>& diagram, const PositionOptions& options) {
    const std::vector<std::string> rows = WithoutSpaces(diagram);
    std::uint32_t width = options.width;
    std::uint32_t height = options.height ? options.height : static_cast<std::uint32_t>(rows.size());
    for (const std::string& row : rows) {
        if (!options.width && row.size() > width) width = static_cast<std::uint32_t>(row.size());
        if (row.size() > width) throw std::invalid_argument("diagram wider than the board");
    }
    if (rows.size() > height) throw std::invalid_argument("diagram higher than the board");

    auto board = EmptyBoard(width, height, options.kind, options.rule);
    const std::vector<PlacedStone> order = options.order.empty() ? AlternatingOrder(rows) : ExplicitOrder(rows, options);
    for (const PlacedStone& s : order) {
        if (board->ToMoveColour() != s.colour) Pass(*board);
        Play(*board, At(s.x, s.y));
    }
    if (options.toMove != 0 && board->ToMoveColour() != options.toMove) Pass(*board);
    return board;
}

std::vector<Coord> Points(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& xy) {
    std::vector<Coord> points;
    for (const auto& [x, y] : xy) points.push_back(At(x, y));
    return points;
}

std::vector<Coord> CandidateList(const ListBoard& board) {
    return std::vector<Coord>(board.candidateList.get(), board.candidateList.get() + board.candidateCount);
}

std::string Diagram(const ListBoard& board) {
    std::string text;
    for (std::uint32_t y = 0; y < boardHeight; ++y) {
        for (std::uint32_t x = 0; x < boardWidth; ++x) {
            static constexpr char cells[] = {'.', 'x', 'o'};
            text += cells[board.stone[x + y * boardWidth]];
        }
        text += '\n';
    }
    text += board.ToMoveColour() == Colour1 ? "x to move\n" : "o to move\n";
    return text;
}

}  // namespace zomar::test
