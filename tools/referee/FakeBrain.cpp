// A scripted brain for the referee's own tests. It plays the first empty point
// in row order, or the moves given with --moves, and misbehaves on request:
//   --moves X,Y;X,Y...   answers these first (skipping none, legal or not)
//   --crash-at N         exits with code 3 instead of answering move N
//   --sleep-at N:MS      sleeps MS milliseconds before answering move N
//   --error-at N         writes an ERROR line before answering move N
//   --garbage-at N       answers move N with a line that is not a move
//   --chatter            writes MESSAGE and DEBUG lines before every answer
//   --refuse-start       answers START with an ERROR line only
#include <chrono>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Script {
    std::vector<std::pair<int, int>> moves;
    int crashAt = 0;
    int sleepAt = 0;
    int sleepMs = 0;
    int errorAt = 0;
    int garbageAt = 0;
    bool chatter = false;
    bool refuseStart = false;
};

Script ReadScript(int argc, char** argv) {
    Script script;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const std::string value = i + 1 < argc ? argv[i + 1] : "";
        if (option == "--chatter") script.chatter = true;
        else if (option == "--refuse-start") script.refuseStart = true;
        else if (option == "--crash-at") script.crashAt = std::stoi(value), ++i;
        else if (option == "--error-at") script.errorAt = std::stoi(value), ++i;
        else if (option == "--garbage-at") script.garbageAt = std::stoi(value), ++i;
        else if (option == "--sleep-at") std::sscanf(value.c_str(), "%d:%d", &script.sleepAt, &script.sleepMs), ++i;
        else if (option == "--moves") {
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
    explicit Brain(Script script) : script(std::move(script)) {}

    void Reset(int w, int h) {
        width = w;
        height = h;
        cells.assign(static_cast<std::size_t>(w * h), false);
    }
    void Occupy(int x, int y) {
        if (x >= 0 && y >= 0 && x < width && y < height) cells[static_cast<std::size_t>(y * width + x)] = true;
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
        int x = 0;
        int y = 0;
        if (next < script.moves.size()) {
            x = script.moves[next].first;
            y = script.moves[next].second;
            ++next;
        } else {
            std::size_t p = 0;
            while (p < cells.size() && cells[p]) ++p;
            x = static_cast<int>(p) % width;
            y = static_cast<int>(p) / width;
        }
        Occupy(x, y);
        Line(std::to_string(x) + "," + std::to_string(y));
    }

    void Line(const std::string& text) { std::cout << text << "\r\n" << std::flush; }

    Script script;
    int width = 20;
    int height = 20;
    std::vector<bool> cells = std::vector<bool>(400, false);
    int requests = 0;
    std::size_t next = 0;
};

}  // namespace

int main(int argc, char** argv) {
    Brain brain(ReadScript(argc, argv));
    bool boardMode = false;
    for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        int a = 0;
        int b = 0;
        if (boardMode) {
            if (line == "DONE") {
                boardMode = false;
                brain.Answer();
            } else if (std::sscanf(line.c_str(), "%d,%d", &a, &b) == 2) {
                brain.Occupy(a, b);
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
            brain.Occupy(a, b);
            brain.Answer();
        } else if (line == "BOARD") {
            boardMode = true;
        } else if (line == "END") {
            return 0;
        }
    }
    return 0;
}
