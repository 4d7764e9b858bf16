// A dialog template built in memory, for dialogs that need no resource
// script: the box, its font and its controls in dialog units.
#pragma once

#include <vector>

#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

// The predefined classes a template names by atom.
enum class ControlClass : WORD { kButton = 0x80, kEdit = 0x81, kStatic = 0x82 };

struct ControlSpec {
    ControlClass cls;
    DWORD style;  // WS_CHILD | WS_VISIBLE come with every control
    short x, y, cx, cy;
    WORD id;
    const wchar_t* text;  // templates hold UTF-16 texts, even for the A calls
};

class DialogTemplate {
  public:
    // A box of cx by cy dialog units in the 8-point shell dialog font,
    // with an empty title: texts of the system code page are set later,
    // with the A calls.
    DialogTemplate(DWORD style, short cx, short cy);
    void Add(const ControlSpec& control);
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void AddDword(DWORD value);
    void AddText(const wchar_t* text);
    // Every control's entry starts on a DWORD boundary.
    void AlignToDword();

    std::vector<WORD> words_;
};

}  // namespace vantrel::win32
