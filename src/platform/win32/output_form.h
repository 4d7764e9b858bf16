// OutputForm: the borderless output pane with its one text box, OutputBox.
// The window exists only while the pane is open; closing destroys it with
// its text.
#pragma once

#include <functional>

#include "platform/output_pane.h"
#include "platform/win32/font_fallback.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"

namespace vantrel::win32 {

class OutputForm : public OutputPane {
  public:
    // focusBar gives the keyboard focus back to the bar.
    OutputForm(HINSTANCE instance, std::function<void()> focusBar);
    OutputForm(const OutputForm&) = delete;
    OutputForm& operator=(const OutputForm&) = delete;

    // The pane stays above its owner, the bar.
    void SetOwner(HWND owner) { owner_ = owner; }

    std::string Text() const override;
    void Close() override;
    void Show(const PaneView& view) override;

    // Key releases in the pane: Esc closes it. True when the message was
    // the pane's.
    bool PreTranslate(const MSG& msg);

    HWND Handle() const { return form_.Get(); }

  private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool Create();
    LRESULT OnCtlColor(HDC dc);
    void OnSize(int width, int height);
    void SetColours(Colour text, Colour bg);

    HINSTANCE instance_;
    std::function<void()> focusBar_;
    HWND owner_ = nullptr;
    UniqueWindow form_;
    HWND box_ = nullptr;  // OutputBox, destroyed with the form
    UniqueFont font_;
    int fontDpi_ = 0;  // the scale font_ was made for
    FontFallback fallback_;
    UniqueBrush brush_;
    Colour textColour_ = 0;
    Colour bgColour_ = 0;
    std::string text_;
};

}  // namespace vantrel::win32
