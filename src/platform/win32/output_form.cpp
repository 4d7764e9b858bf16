#include "platform/win32/output_form.h"

#include "platform/win32/fixed_font.h"
#include "platform/win32/wide_text.h"

namespace vantrel::win32 {

namespace {

constexpr char kClassName[] = "VantrelOutputForm";

}  // namespace

OutputForm::OutputForm(HINSTANCE instance, std::function<void()> focusBar)
    : instance_(instance), focusBar_(std::move(focusBar)) {}

bool OutputForm::Create() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);  // fails harmlessly when already registered

    HWND form = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                                0, 0, owner_, nullptr, instance_, this);
    if (!form) return false;
    form_.Reset(form);
    // A Unicode window, like the bar's boxes: text still crosses as the
    // process's code page.
    box_ = CreateWindowExW(
        0, L"EDIT", L"",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0,
        0, form, nullptr, instance_, nullptr);
    fontDpi_ = 0;  // the new box takes the font in Show
    // The pane's text is bounded by OutputMaxMem, not by the box.
    SendMessageA(box_, EM_SETLIMITTEXT, 0, 0);
    return true;
}

std::string OutputForm::Text() const {
    return text_;
}

void OutputForm::Close() {
    bool hadFocus = form_.Valid() && GetActiveWindow() == form_.Get();
    form_.Reset();
    box_ = nullptr;
    text_.clear();
    if (hadFocus && focusBar_) focusBar_();
}

void OutputForm::Show(const PaneView& view) {
    if (!form_.Valid() && !Create()) return;
    SetColours(view.textColour, view.bgColour);
    if (fontDpi_ != view.dpi || !font_.Valid()) {
        font_ = CreateFixedsysFont(MetricsForDpi(view.dpi));
        fallback_.SetCell(MetricsForDpi(view.dpi));
        fontDpi_ = view.dpi;
    }
    // The box is read-only: what it shows is what was set, kept here so
    // that asking for it costs no window call.
    text_ = view.text;
    const HFONT font = fallback_.For(font_.Get(), Widen(text_));
    if (reinterpret_cast<HFONT>(SendMessageW(box_, WM_GETFONT, 0, 0)) != font) {
        SendMessageW(box_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    SetWindowTextA(box_, text_.c_str());
    SetWindowPos(form_.Get(), nullptr, view.bounds.left, view.bounds.top, view.bounds.width,
                 view.bounds.height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // The caret after the end keeps the last line in view.
    int length = GetWindowTextLengthW(box_);
    SendMessageA(box_, EM_SETSEL, length, length);
    SendMessageA(box_, EM_SCROLLCARET, 0, 0);
    InvalidateRect(box_, nullptr, TRUE);
    if (focusBar_) focusBar_();
}

void OutputForm::SetColours(Colour text, Colour bg) {
    if (brush_.Valid() && text == textColour_ && bg == bgColour_) return;
    textColour_ = text;
    bgColour_ = bg;
    brush_.Reset(CreateSolidBrush(bg));
}

bool OutputForm::PreTranslate(const MSG& msg) {
    if (!form_.Valid() || (msg.hwnd != form_.Get() && msg.hwnd != box_)) return false;
    if (msg.message == WM_KEYUP && msg.wParam == VK_ESCAPE) {
        Close();
        return true;
    }
    return false;
}

LRESULT OutputForm::OnCtlColor(HDC dc) {
    SetTextColor(dc, textColour_);
    SetBkColor(dc, bgColour_);
    return reinterpret_cast<LRESULT>(brush_.Get());
}

void OutputForm::OnSize(int width, int height) {
    if (box_) MoveWindow(box_, 0, 0, width, height, TRUE);
}

LRESULT CALLBACK OutputForm::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<OutputForm*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self) {
        switch (message) {
            // A read-only box asks for the colours of a static control.
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLOREDIT:
                return self->OnCtlColor(reinterpret_cast<HDC>(wParam));
            case WM_SIZE:
                self->OnSize(LOWORD(lParam), HIWORD(lParam));
                return 0;
            default:
                break;
        }
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace vantrel::win32
