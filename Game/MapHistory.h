// The editor's undo and redo: the states of the map as texts (MapSnapshot's) with the map's
// name, of which only the current one is kept whole; each step back or forward is kept as
// the few pieces of text in which the two states differ.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

class MapHistory {
public:
    // The newest steps are always kept; older ones go, oldest first, while all the steps
    // together hold more than the budget.
    static constexpr size_t STEPS_ALWAYS_KEPT = 200;
    static constexpr size_t BYTE_BUDGET = 16u << 20;

    // Forgets every step: the history starts at this state.
    void Reset(const std::string& text, const std::string& name);
    // A change was made and this is the state now; false, keeping nothing, when text and
    // name are as they were. The steps that could be redone are gone.
    bool Record(const std::string& text, const std::string& name);
    // The current state's map was saved under another name: the states before and after it
    // that carried the old name (back to where a map was loaded) carry the new one.
    void Rename(const std::string& name);
    // One step back or forward; false when there is none.
    bool Undo();
    bool Redo();

    const std::string& Text() const { return _text; }
    const std::string& Name() const { return _name; }
    size_t UndoCount() const { return _undo.size(); }
    size_t RedoCount() const { return _redo.size(); }
    // What the steps hold, in bytes (the current text not counted).
    size_t Bytes() const { return _bytes; }

private:
    // Replace removed bytes at offset (in the text the step starts from) with inserted.
    struct Piece {
        size_t offset;
        size_t removed;
        std::string inserted;
    };
    // Turns one state into another: the pieces of the text, and the other state's name.
    struct Step {
        std::vector<Piece> pieces;
        std::string name;
        size_t bytes;
    };

    static Step _Difference(const std::string& from, const std::string& to, const std::string& toName);
    static void _AddPieces(std::vector<Piece>& pieces, const std::string& from, size_t fromBegin, size_t fromEnd,
                           const std::string& to, size_t toBegin, size_t toEnd);
    static std::string _Apply(const std::string& text, const Step& step);
    bool _Travel(std::deque<Step>& from, std::deque<Step>& to);
    void _Trim();

    std::string _text;
    std::string _name;
    std::deque<Step> _undo;
    std::deque<Step> _redo;
    size_t _bytes = 0;
};
