// A scripted brain for the referee's own tests. It plays the first empty point
// in row order, or the moves given with --moves, and misbehaves on request:
//   --moves X,Y;X,Y...   answers these first (skipping none, legal or not)
//   --crash-at N         exits with code 3 instead of answering move N
//   --sleep-at N:MS      sleeps MS milliseconds before answering move N
//   --error-at N         writes an ERROR line before answering move N
//   --garbage-at N       answers move N with a line that is not a move
//   --chatter            writes MESSAGE and DEBUG lines before every answer
//   --refuse-start       answers START with an ERROR line only
//   --random SEED        plays a random empty point within two of a stone,
//                        never one forbidden to it as black under renju, and
//                        answers SWAP2BOARD with a random one of its answers;
//                        seed 0 takes a new seed every run
//   --swap2 LINE|LINE... answers SWAP2BOARD with these lines first; without
//                        them the first empty points: three, or one (white)
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "referee/RenjuJudge.h"

namespace {

using zomar::referee::Point;
using zomar::referee::RenjuJudge;
using zomar::referee::Stone;

struct Script {
    std::vector<std::pair<int, int>> moves;
    std::vector<std::string> swap2;
    int crashAt = 0;
    int sleepAt = 0;
    int sleepMs = 0;
    int errorAt = 0;
    int garbageAt = 0;
    bool chatter = false;
    bool refuseStart = false;
    bool random = false;
    unsigned seed = 0;
};

Script ReadScript(int argc, char** argv) {
    Script script;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const std::string value = i + 1 < argc ? argv[i + 1] : "";
        if (option == "--chatter") script.chatter = true;
        else if (option == "--refuse-start") script.refuseStart = true;
        else if (option == "--random") script.random = true, script.seed = static_cast<unsigned>(std::stoul(value)), ++i;
        else if (option == "--crash-at") script.crashAt = std::stoi(value), ++i;
        else if (option == "--error-at") script.errorAt = std::stoi(value), ++i;
        else if (option == "--garbage-at") script.garbageAt = std::stoi(value), ++i;
        else if (option == "--sleep-at") std::sscanf(value.c_str(), "%d:%d", &script.sleepAt, &script.sleepMs), ++i;
        else if (option == "--swap2") {
            std::istringstream list(value);
            for (std::string answer; std::getline(list, answer, '|');) script.swap2.push_back(answer);
            ++i;
        } else if (option == "--moves") {
            std::istringstream list(value);
            for (std::string move; std::getline(list, move, ';');) {
                int x = 0;
                int y = 0;
                std::sscanf(move.c_str(), "%d,%d", &x, &y);
                script.moves.push_back({x, y});
            }
            ++i;
        }
    }
    return script;
}

class Brain {
public:
    explicit Brain(Script script)
        : script(std::move(script)), random(this->script.seed != 0 ? this->script.seed : std::random_device()()) {}

    void Reset(int w, int h) {
        width = w;
        height = h;
        cells.assign(static_cast<std::size_t>(w * h), false);
        judge = std::make_unique<RenjuJudge>(w, h);
        stones[0] = stones[1] = 0;
    }
    // `own`: the stone is this brain's.
    void Occupy(int x, int y, bool own) {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        cells[static_cast<std::size_t>(y * width + x)] = true;
        judge->Set({x, y}, own ? Stone::Black : Stone::White);
        ++stones[own ? 0 : 1];
    }

    void Answer() {
        ++requests;
        if (requests == script.crashAt) std::exit(3);
        if (requests == script.sleepAt) std::this_thread::sleep_for(std::chrono::milliseconds(script.sleepMs));
        if (requests == script.errorAt) Line("ERROR something went wrong");
        if (script.chatter) {
            Line("MESSAGE thinking");
            Line("DEBUG depth 1");
        }
        if (requests == script.garbageAt) return Line("pass");
        Point p;
        if (next < script.moves.size()) {
            p = {script.moves[next].first, script.moves[next].second};
            ++next;
        } else {
            p = NextPoint();
        }
        Occupy(p.x, p.y, true);
        Line(std::to_string(p.x) + "," + std::to_string(p.y));
    }

    Point NextPoint() {
        if (script.random) return RandomPoint();
        std::size_t p = 0;
        while (p < cells.size() && cells[p]) ++p;
        return {static_cast<int>(p) % width, static_cast<int>(p) / width};
    }

    // The stones so far, black first. The judge holds black's stones as black
    // here, so that RandomPoint keeps black's stones off forbidden points.
    void AnswerSwap2(const std::vector<Point>& given) {
        Reset(width, height);
        for (std::size_t i = 0; i < given.size(); ++i) Occupy(given[i].x, given[i].y, i % 2 == 0);
        std::string answer;
        std::size_t count = given.empty() ? 3 : 1;
        if (nextSwap2 < script.swap2.size()) {
            answer = script.swap2[nextSwap2++];
            count = 0;
        } else if (script.random && !given.empty()) {
            // Swap, one stone, or (with three stones) two.
            const std::size_t option = std::uniform_int_distribution<std::size_t>(0, given.size() == 3 ? 2 : 1)(random);
            if (option == 0) answer = "SWAP";
            count = option;
        }
        for (std::size_t i = 0; i < count; ++i) {
            const Point p = NextPoint();
            Occupy(p.x, p.y, (given.size() + i) % 2 == 0);
            if (i > 0) answer += ' ';
            answer += std::to_string(p.x);
            answer += ',';
            answer += std::to_string(p.y);
        }
        Reset(width, height);
        Line(answer);
    }

    void Line(const std::string& text) { std::cout << text << "\r\n" << std::flush; }

    bool Occupied(int x, int y) const { return cells[static_cast<std::size_t>(y * width + x)]; }

    bool NearStone(int x, int y) const {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (judge->IsOnBoard({x + dx, y + dy}) && Occupied(x + dx, y + dy)) return true;
        return false;
    }

    // The judge holds this brain's stones as black: they are black when it has
    // as many stones as the opponent to move with.
    Point RandomPoint() {
        const bool checkForbidden = renju && stones[0] == stones[1];
        const bool empty = stones[0] + stones[1] == 0;
        std::vector<Point> points;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (!Occupied(x, y) && (empty || NearStone(x, y)) && !(checkForbidden && judge->IsForbidden({x, y})))
                    points.push_back({x, y});
        if (points.empty()) return {0, 0};
        return points[std::uniform_int_distribution<std::size_t>(0, points.size() - 1)(random)];
    }

    Script script;
    int width = 20;
    int height = 20;
    std::vector<bool> cells = std::vector<bool>(400, false);
    int requests = 0;
    std::size_t next = 0;
    std::size_t nextSwap2 = 0;
    std::mt19937 random;
    std::unique_ptr<RenjuJudge> judge = std::make_unique<RenjuJudge>(20, 20);
    int stones[2] = {};  // own, opponent's
    bool renju = false;
};

}  // namespace

int main(int argc, char** argv) {
    Brain brain(ReadScript(argc, argv));
    bool boardMode = false;
    std::optional<std::vector<Point>> swap2;
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        int a = 0;
        int b = 0;
        if (swap2) {
            if (line == "DONE") {
                brain.AnswerSwap2(*swap2);
                swap2.reset();
            } else if (std::sscanf(line.c_str(), "%d,%d", &a, &b) == 2) {
                swap2->push_back({a, b});
            }
        } else if (line == "SWAP2BOARD") {
            swap2.emplace();
        } else if (boardMode) {
            if (line == "DONE") {
                boardMode = false;
                brain.Answer();
            } else if (int field = 0; std::sscanf(line.c_str(), "%d,%d,%d", &a, &b, &field) >= 2) {
                brain.Occupy(a, b, field == 1);
            }
        } else if (line.rfind("START ", 0) == 0 || line.rfind("RECTSTART ", 0) == 0) {
            if (brain.script.refuseStart) {
                brain.Line("ERROR unsupported size");
                continue;
            }
            if (line[0] == 'S') std::sscanf(line.c_str(), "START %d", &a), b = a;
            else std::sscanf(line.c_str(), "RECTSTART %d,%d", &a, &b);
            brain.Reset(a, b);
            brain.Line("OK");
        } else if (line == "RESTART") {
            brain.Reset(brain.width, brain.height);
            brain.Line("OK");
        } else if (line == "BEGIN") {
            brain.Answer();
        } else if (std::sscanf(line.c_str(), "TURN %d,%d", &a, &b) == 2) {
            brain.Occupy(a, b, false);
            brain.Answer();
        } else if (line == "BOARD") {
            boardMode = true;
        } else if (std::sscanf(line.c_str(), "INFO rule %d", &a) == 1) {
            brain.renju = (a & 4) != 0;
        } else if (line == "END") {
            return 0;
        }
    }
    return 0;
}
