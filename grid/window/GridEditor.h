// What the grid window needs of an in-place editor, an edit or a combo box: it reports its end
// exactly once with the text and the ending key, takes typed characters, and forgets the grid
// when the grid goes away first.
#pragma once

#include <functional>
#include <string>

class wxWindow;

class IGridEditor {
public:
    // row, col, text, ending key (0 when the focus went elsewhere).
    using EndHandler = std::function<void(int, int, const std::string&, int)>;

    virtual ~IGridEditor() = default;
    virtual wxWindow* GetEditorWindow() = 0;
    // Reports the end (once) and hides the editor; its owner deletes it later.
    virtual void EndEdit(int key = 0) = 0;
    virtual bool IsEnded() const = 0;
    virtual void Detach() = 0;
    // Types a character at the caret as the keyboard would.
    virtual void Type(unsigned character) = 0;
    // The clipboard's text at the caret, as the editor's own paste command would put it.
    virtual void Paste() = 0;
};
