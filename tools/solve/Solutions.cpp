#include "Solutions.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

bool ParseNumber(const std::string& text, double& value)
{
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = strtod(text.c_str(), &end);
    return errno == 0 && *end == '\0' && std::isfinite(value);
}

bool ParseWhole(const std::string& text, int32_t low, int32_t high, int32_t& value)
{
    if (text.empty() || text.size() > 4) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    value = int32_t(atoi(text.c_str()));
    return value >= low && value <= high;
}

}  // namespace

std::string StepText(double seconds)
{
    char text[64];
    for (int digits = 1; digits <= 17; ++digits) {
        snprintf(text, sizeof(text), "%.*g", digits, seconds);
        if (strtod(text, nullptr) == seconds) break;
    }
    return text;
}

std::string StepLabel(double seconds)
{
    const std::string text = StepText(seconds);
    const double perSecond = std::round(1.0 / seconds);
    if (text.size() <= 6 || 1.0 / perSecond != seconds) return text;
    return "1/" + std::to_string(int64_t(perSecond));
}

bool ParseStep(const std::string& text, double& seconds)
{
    const size_t slash = text.find('/');
    if (slash == std::string::npos) return ParseNumber(text, seconds) && seconds > 0.0;
    double over = 0.0, under = 0.0;
    if (!ParseNumber(text.substr(0, slash), over) || !ParseNumber(text.substr(slash + 1), under)) return false;
    seconds = over / under;
    return std::isfinite(seconds) && seconds > 0.0;
}

bool ReadSolutions(const std::string& path, std::vector<RecordedSolution>& solutions, std::string& error)
{
    std::ifstream in(path);
    if (!in) {
        error = "cannot read \"" + path + "\"";
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        std::istringstream words(line);
        std::string map, stepWord, step, angleWord, angle, powerWord, power, extra;
        words >> map >> stepWord >> step >> angleWord >> angle >> powerWord >> power;
        RecordedSolution solution;
        solution.map = map;
        solution.step = step;
        if (words >> extra || stepWord != "step" || angleWord != "angle" || powerWord != "power" ||
            !ParseNumber(step, solution.frameSeconds) || !(solution.frameSeconds > 0.0) ||
            !ParseWhole(angle, 0, ShotSearch::MAX_ANGLE, solution.shot.angle) ||
            !ParseWhole(power, 0, ShotSearch::MAX_POWER, solution.shot.power)) {
            error = path + ":" + std::to_string(number) +
                    ": not of the form \"map01 step 0.01 angle 315 power 50\" (angle 0-360, power 0-100)";
            return false;
        }
        solutions.push_back(solution);
    }
    return true;
}

std::vector<RecordedSolution> MergeSolutions(std::vector<RecordedSolution> recorded,
                                             const std::vector<RecordedSolution>& found)
{
    for (const RecordedSolution& solution : found) {
        recorded.erase(std::remove_if(recorded.begin(), recorded.end(),
                                      [&](const RecordedSolution& old) {
                                          return old.map == solution.map && old.frameSeconds == solution.frameSeconds;
                                      }),
                       recorded.end());
        recorded.push_back(solution);
    }
    return recorded;
}

bool WriteSolutions(const std::string& path, std::vector<RecordedSolution> solutions)
{
    std::stable_sort(solutions.begin(), solutions.end(), [](const RecordedSolution& a, const RecordedSolution& b) {
        return a.map != b.map ? a.map < b.map : a.frameSeconds < b.frameSeconds;
    });
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary);
        if (!out) return false;
        out << "# One winning shot for every map at every frame time, found by tools/solve (the fastest win\n"
               "# it found). Made again with: build/tools/solve --solutions data/maps/solutions.txt\n";
        for (const RecordedSolution& s : solutions)
            out << s.map << " step " << s.step << " angle " << s.shot.angle << " power " << s.shot.power << "\n";
        if (!out.flush()) return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}
