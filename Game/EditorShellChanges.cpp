// The editor shell's care for the edited map: whether it has unsaved changes, the warnings
// before a request would drop them or replace another map's file, and undo and redo.
#include <windows.h>

#include "Engine/FileName.h"
#include "Engine/TheConsole.h"
#include "Engine/TheGameInterfaceAbstract.h"
#include "Engine/TheInputSystem.h"
#include "Game/EditorShell.h"
#include "Game/Game.h"
#include "Game/MapArea.h"
#include "Game/MapSnapshot.h"
#include "Game/Pane.h"
#include "Game/ViewBase.h"
#include "Game/ViewXY.h"

namespace {

std::string Lower(const std::string& name)
{
    std::string lower = name;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return lower;
}

}  // namespace

// ---------------------------------------------------------------------------
// Unsaved changes

bool EditorShell::_IsEditing() const
{
    // WARP leaves the editor built behind the game; only what is on screen is guarded.
    return root != nullptr && theMapArea != nullptr && (theGame == nullptr || theGame->mode == MODE_EDIT);
}

const std::string& EditorShell::_CurrentText()
{
    // The floating end of a chain, and a start vertex the chain made while it has no linedef,
    // are the chain's own scaffolding: the file never gets them (SAVE leaves them out).
    const Vertex* leftOut[2] = {chainCursor, chainMadeStart ? chainStart : nullptr};
    const uint64_t revision = theMapArea->GetRevision();
    if (!_currentTextValid || revision != _currentTextRevision || leftOut[0] != _currentTextLeftOut[0] ||
        leftOut[1] != _currentTextLeftOut[1]) {
        _currentText = MapSnapshot::Write(*theMapArea, leftOut[0], leftOut[1]);
        _currentTextRevision = revision;
        _currentTextLeftOut[0] = leftOut[0];
        _currentTextLeftOut[1] = leftOut[1];
        _currentTextValid = true;
    }
    return _currentText;
}

bool EditorShell::HasUnsavedChanges()
{
    if (root == nullptr || theMapArea == nullptr) return false;
    const auto file = _fileTexts.find(Lower(theMapArea->GetName()));
    return file == _fileTexts.end() || file->second != _CurrentText();
}

void EditorShell::_NoteFileText()
{
    // Saved under another name, the map is that map: in the steps around this one too.
    _history.Rename(theMapArea->GetName());
    _fileTexts[Lower(theMapArea->GetName())] = _CurrentText();
}

void EditorShell::NoteCommand()
{
    ++_commandCount;
}

bool EditorShell::_Confirmed(const std::string& request)
{
    const bool confirmed = request == _pendingRequest && _pendingCommand + 1 == _commandCount &&
                           theMapArea != nullptr && theMapArea->GetRevision() == _pendingRevision;
    _pendingRequest.clear();
    return confirmed;
}

void EditorShell::_AwaitConfirmation(const std::string& request)
{
    _pendingRequest = request;
    _pendingCommand = _commandCount;
    _pendingRevision = theMapArea->GetRevision();
}

bool EditorShell::MayDiscardChanges(const std::string& request)
{
    if (!_IsEditing() || !HasUnsavedChanges() || _Confirmed(request)) return true;
    const std::string& name = theMapArea->GetName();
    if (name.empty()) {
        theConsole.Printf(
            "WARNING: the new map has unsaved changes; SAVE it under a name, or %s again to discard them\n",
            request.c_str());
    } else {
        theConsole.Printf("WARNING: \"%s\" has unsaved changes; SAVE it, or %s again to discard them\n", name.c_str(),
                          request.c_str());
    }
    _AwaitConfirmation(request);
    return false;
}

bool EditorShell::MayReplaceMapFile(const std::string& name)
{
    if (root == nullptr || theMapArea == nullptr || Lower(name) == Lower(theMapArea->GetName())) return true;
    const std::string path = MapArea::MapFilePath(name);
    const std::string request = "SAVE " + name;
    if (!CanOpenFile(path) || _Confirmed(request)) return true;
    theConsole.Printf("WARNING: \"%s\" is another map's file; %s again to replace it\n", path.c_str(), request.c_str());
    _AwaitConfirmation(request);
    return false;
}

// ---------------------------------------------------------------------------
// The history

bool EditorShell::_IsDragging(const Pane* pane) const
{
    if (pane == nullptr) return false;
    if (pane->IsLeaf()) return pane->view != nullptr && pane->view->IsDragging();
    return _IsDragging(pane->first) || _IsDragging(pane->second);
}

void EditorShell::_CommitChanges()
{
    if (root == nullptr || theMapArea == nullptr) return;
    if (EditMode == LINE_CHAIN_CREATION || _IsDragging(root)) return;
    _RecordStep();
}

void EditorShell::_RecordStep()
{
    if (theMapArea->GetRevision() == _recordedRevision && theMapArea->GetName() == _history.Name()) return;
    _history.Record(_CurrentText(), theMapArea->GetName());
    _recordedRevision = theMapArea->GetRevision();
}

void EditorShell::_ResetHistory()
{
    _pendingRequest.clear();
    _fileTexts.clear();
    _currentTextValid = false;
    if (theMapArea == nullptr) {
        _history.Reset(std::string(), std::string());
        return;
    }
    _history.Reset(_CurrentText(), theMapArea->GetName());
    _recordedRevision = theMapArea->GetRevision();
    _NoteFileText();
}

void EditorShell::_RestoreFromHistory()
{
    ResetEditorState();
    _ForgetMapElements(root);
    theMapArea->Clear();
    MapSnapshot::Read(_history.Text(), *theMapArea);
    theMapArea->SetName(_history.Name());
    _recordedRevision = theMapArea->GetRevision();
    _currentText = _history.Text();
    _currentTextRevision = _recordedRevision;
    _currentTextLeftOut[0] = _currentTextLeftOut[1] = nullptr;
    _currentTextValid = true;
}

bool EditorShell::_HandleHistoryKeys(int32_t type, uint8_t code)
{
    if (type != KEY_PRESSED && type != KEY_REPEATED) return false;
    if (root == nullptr || !theInputSystem.IsKeyDown(VK_CONTROL)) return false;
    if (code == 'Z' && !theInputSystem.IsKeyDown(VK_SHIFT)) {
        Undo();
    } else if (code == 'Z' || code == 'Y') {
        Redo();
    } else {
        return false;
    }
    return true;
}

// Undo and redo wait for the step in the making: it would be split in two, or its
// scaffolding restored. What was done since the last step becomes one first.
bool EditorShell::_MayTravelHistory(const char* command, const char* refusal)
{
    if (!_IsBuilt(refusal)) return false;
    if (EditMode == LINE_CHAIN_CREATION) {
        theConsole.Printf("%s: end the line chain first (Escape or a right click)\n", command);
        return false;
    }
    if (_IsDragging(root)) {
        theConsole.Printf("%s: let go of the left button first\n", command);
        return false;
    }
    _RecordStep();
    return true;
}

void EditorShell::Undo()
{
    if (!_MayTravelHistory("Undo", "nothing is undone")) return;
    if (!_history.Undo()) {
        theConsole.Printf("Undo: nothing to undo\n");
        return;
    }
    _RestoreFromHistory();
    theConsole.Printf("Undo: the map as before its last change (%u more to undo, %u to redo)\n",
                      unsigned(_history.UndoCount()), unsigned(_history.RedoCount()));
}

void EditorShell::Redo()
{
    if (!_MayTravelHistory("Redo", "nothing is redone")) return;
    if (!_history.Redo()) {
        theConsole.Printf("Redo: nothing to redo\n");
        return;
    }
    _RestoreFromHistory();
    theConsole.Printf("Redo: the change made again (%u more to redo, %u to undo)\n", unsigned(_history.RedoCount()),
                      unsigned(_history.UndoCount()));
}
