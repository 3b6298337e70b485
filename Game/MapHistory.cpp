#include "Game/MapHistory.h"

#include <algorithm>

namespace {

// The texts are diffed section by section, sections being separated by blank lines (a map's
// snapshot has three), so that changes at the ends of two lists are two small pieces rather
// than one that spans everything between them.
std::vector<size_t> SectionStarts(const std::string& text)
{
    std::vector<size_t> starts{0};
    for (size_t at = text.find("\n\n"); at != std::string::npos; at = text.find("\n\n", at + 2))
        starts.push_back(at + 2);
    return starts;
}

}  // namespace

void MapHistory::Reset(const std::string& text, const std::string& name)
{
    _text = text;
    _name = name;
    _undo.clear();
    _redo.clear();
    _bytes = 0;
}

bool MapHistory::Record(const std::string& text, const std::string& name)
{
    if (text == _text && name == _name) return false;
    _undo.push_back(_Difference(text, _text, _name));
    _bytes += _undo.back().bytes;
    for (const Step& step : _redo) _bytes -= step.bytes;
    _redo.clear();
    _text = text;
    _name = name;
    _Trim();
    return true;
}

void MapHistory::Rename(const std::string& name)
{
    const std::string old = _name;
    if (name == old) return;
    _name = name;
    auto rename = [&](Step& step) {
        if (step.name != old) return false;
        step.name = name;
        return true;
    };
    for (auto step = _undo.rbegin(); step != _undo.rend() && rename(*step); ++step) {}
    for (auto step = _redo.rbegin(); step != _redo.rend() && rename(*step); ++step) {}
}

bool MapHistory::Undo()
{
    return _Travel(_undo, _redo);
}

bool MapHistory::Redo()
{
    return _Travel(_redo, _undo);
}

// The newest step of from taken: the state it leads to becomes the current one, and the way
// back to the state left goes onto to.
bool MapHistory::_Travel(std::deque<Step>& from, std::deque<Step>& to)
{
    if (from.empty()) return false;
    const Step& step = from.back();
    std::string text = _Apply(_text, step);
    std::string name = step.name;
    to.push_back(_Difference(text, _text, _name));
    _bytes += to.back().bytes;
    _bytes -= step.bytes;
    from.pop_back();
    _text.swap(text);
    _name.swap(name);
    return true;
}

// The pieces that turn from[fromBegin, fromEnd) into to[toBegin, toEnd): with as many lines
// on both sides (elements moved, properties changed in place), one piece per run of changed
// lines, so that a selection moved across the map is kept as its own lines; otherwise one
// piece between what the two have in common at their ends.
void MapHistory::_AddPieces(std::vector<Piece>& pieces, const std::string& from, size_t fromBegin, size_t fromEnd,
                            const std::string& to, size_t toBegin, size_t toEnd)
{
    auto lines = [](const std::string& text, size_t begin, size_t end) {
        return std::count(text.begin() + std::ptrdiff_t(begin), text.begin() + std::ptrdiff_t(end), '\n');
    };
    const bool wholeLines =
        fromEnd > fromBegin && toEnd > toBegin && from[fromEnd - 1] == '\n' && to[toEnd - 1] == '\n';
    if (wholeLines && lines(from, fromBegin, fromEnd) == lines(to, toBegin, toEnd)) {
        size_t f = fromBegin, t = toBegin;
        size_t runFrom = std::string::npos, runTo = 0;
        while (f < fromEnd) {
            const size_t fromLineEnd = from.find('\n', f) + 1, toLineEnd = to.find('\n', t) + 1;
            const bool same = from.compare(f, fromLineEnd - f, to, t, toLineEnd - t) == 0;
            if (!same && runFrom == std::string::npos) {
                runFrom = f;
                runTo = t;
            }
            if (same && runFrom != std::string::npos) {
                pieces.push_back(Piece{runFrom, f - runFrom, to.substr(runTo, t - runTo)});
                runFrom = std::string::npos;
            }
            f = fromLineEnd;
            t = toLineEnd;
        }
        if (runFrom != std::string::npos)
            pieces.push_back(Piece{runFrom, fromEnd - runFrom, to.substr(runTo, toEnd - runTo)});
        return;
    }
    const size_t shorter = (std::min)(fromEnd - fromBegin, toEnd - toBegin);
    size_t head = 0;
    while (head < shorter && from[fromBegin + head] == to[toBegin + head]) ++head;
    size_t tail = 0;
    while (tail < shorter - head && from[fromEnd - 1 - tail] == to[toEnd - 1 - tail]) ++tail;
    if (fromEnd - fromBegin == toEnd - toBegin && head == shorter) return;
    pieces.push_back(Piece{fromBegin + head, fromEnd - tail - (fromBegin + head),
                           to.substr(toBegin + head, toEnd - tail - (toBegin + head))});
}

MapHistory::Step MapHistory::_Difference(const std::string& from, const std::string& to, const std::string& toName)
{
    Step step{{}, toName, 0};
    std::vector<size_t> fromStarts = SectionStarts(from);
    std::vector<size_t> toStarts = SectionStarts(to);
    if (fromStarts.size() != toStarts.size()) {
        fromStarts.assign(1, 0);
        toStarts.assign(1, 0);
    }
    for (size_t i = 0; i < fromStarts.size(); ++i) {
        const size_t fromEnd = i + 1 < fromStarts.size() ? fromStarts[i + 1] : from.size();
        const size_t toEnd = i + 1 < toStarts.size() ? toStarts[i + 1] : to.size();
        _AddPieces(step.pieces, from, fromStarts[i], fromEnd, to, toStarts[i], toEnd);
    }
    step.bytes = sizeof(Step) + step.name.capacity();
    for (const Piece& piece : step.pieces) step.bytes += sizeof(Piece) + piece.inserted.capacity();
    return step;
}

std::string MapHistory::_Apply(const std::string& text, const Step& step)
{
    std::string result;
    size_t at = 0;
    for (const Piece& piece : step.pieces) {
        result.append(text, at, piece.offset - at);
        result += piece.inserted;
        at = piece.offset + piece.removed;
    }
    result.append(text, at, std::string::npos);
    return result;
}

void MapHistory::_Trim()
{
    while (_bytes > BYTE_BUDGET && _undo.size() > STEPS_ALWAYS_KEPT) {
        _bytes -= _undo.front().bytes;
        _undo.pop_front();
    }
}
