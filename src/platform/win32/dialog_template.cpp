#include "platform/win32/dialog_template.h"

namespace vantrel::win32 {

namespace {

// Where DLGTEMPLATE keeps its count of controls, in WORDs from the start.
constexpr size_t kCountAt = 4;

}  // namespace

DialogTemplate::DialogTemplate(DWORD style, short cx, short cy) {
    AddDword(style | DS_SETFONT);
    AddDword(0);  // extended style
    words_.push_back(0);
    for (short value : {short{0}, short{0}, cx, cy}) words_.push_back(static_cast<WORD>(value));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the system's dialog class
    AddText(L"");
    words_.push_back(8);
    AddText(L"MS Shell Dlg");
}

void DialogTemplate::Add(const ControlSpec& c) {
    AlignToDword();
    AddDword(WS_CHILD | WS_VISIBLE | c.style);
    AddDword(0);
    for (short value : {c.x, c.y, c.cx, c.cy}) words_.push_back(static_cast<WORD>(value));
    words_.push_back(c.id);
    words_.push_back(0xFFFF);
    words_.push_back(static_cast<WORD>(c.cls));
    AddText(c.text);
    words_.push_back(0);  // no creation data
    ++words_[kCountAt];
}

void DialogTemplate::AddDword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
}

void DialogTemplate::AddText(const wchar_t* text) {
    for (; *text; ++text) words_.push_back(static_cast<WORD>(*text));
    words_.push_back(0);
}

void DialogTemplate::AlignToDword() {
    if (words_.size() % 2) words_.push_back(0);
}

}  // namespace vantrel::win32
