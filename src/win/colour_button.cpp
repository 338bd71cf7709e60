#include "win/colour_button.h"

#include <commctrl.h>

#include <string>

#include "win/win_util.h"

namespace pairweb::win {
namespace {

RECT toRect(const app::Rect& r) { return {r.x, r.y, r.x + r.width, r.y + r.height}; }

// The palette window: draws the shared palette and forwards the mouse and the keyboard.
class Palette {
  public:
    Palette(ColourButton& button, app::Prompts& prompts, HFONT menuFont, int margin, int textWidth,
            int textHeight)
        : m_button(button),
          m_prompts(prompts),
          m_menuFont(menuFont),
          m_defaultText(wide(button.state().defaultText())),
          m_customText(wide(button.state().customText())),
          m_selection(button.colour(), !m_defaultText.empty(), !m_customText.empty()),
          m_geometry(margin, !m_defaultText.empty(), !m_customText.empty(), textWidth, textHeight) {
    }
    ~Palette() { DeleteObject(m_menuFont); }

    const app::PaletteGeometry& geometry() const { return m_geometry; }

    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
            case WM_PAINT:
                paint(window);
                return 0;
            case WM_MOUSEMOVE: {
                const int index = m_geometry.itemAt(static_cast<short>(LOWORD(lParam)),
                                                    static_cast<short>(HIWORD(lParam)));
                if (index != app::kNoItem) select(window, index);
                return 0;
            }
            case WM_LBUTTONUP: {
                const int x = static_cast<short>(LOWORD(lParam));
                const int y = static_cast<short>(HIWORD(lParam));
                RECT client;
                GetClientRect(window, &client);
                const POINT p{x, y};
                if (PtInRect(&client, p)) {
                    const int index = m_geometry.itemAt(x, y);
                    if (index != app::kNoItem) select(window, index);
                    end(window, true);
                } else {
                    end(window, false);
                }
                return 0;
            }
            case WM_KEYDOWN:
                key(window, wParam);
                return 0;
            case WM_GETDLGCODE:
                return DLGC_WANTALLKEYS;
            case WM_ACTIVATEAPP:
                if (!wParam) end(window, false);  // another application took over
                return 0;
            case WM_KILLFOCUS:
                ReleaseCapture();
                return 0;
            case WM_NCDESTROY:
                m_button.paletteClosed();
                delete this;
                return 0;
            default:
                return DefWindowProcW(window, message, wParam, lParam);
        }
    }

  private:
    void select(HWND window, int index) {
        if (m_selection.select(index)) moved(window);
    }

    void moved(HWND window) { InvalidateRect(window, nullptr, FALSE); }

    void key(HWND window, WPARAM vk) {
        app::Key k = app::Key::Other;
        switch (vk) {
            case VK_LEFT:
                k = app::Key::Left;
                break;
            case VK_RIGHT:
                k = app::Key::Right;
                break;
            case VK_UP:
                k = app::Key::Up;
                break;
            case VK_DOWN:
                k = app::Key::Down;
                break;
            case VK_RETURN:
                k = app::Key::Enter;
                break;
            case VK_SPACE:
                k = app::Key::Space;
                break;
            case VK_ESCAPE:
                k = app::Key::Escape;
                break;
            default:
                break;
        }
        switch (m_selection.key(k)) {
            case app::PaletteSelection::KeyAction::Moved:
                moved(window);
                break;
            case app::PaletteSelection::KeyAction::Accept:
                end(window, true);
                break;
            case app::PaletteSelection::KeyAction::Cancel:
                end(window, false);
                break;
            case app::PaletteSelection::KeyAction::None:
                break;
        }
    }

    void end(HWND window, bool accepted) {
        if (m_selection.ended()) return;
        ReleaseCapture();
        // The palette stays while the colour dialog is open; a second end is ignored.
        const auto outcome = m_selection.finish(
            accepted, [this](std::uint32_t start) { return m_prompts.chooseColour(start); });
        m_button.selectionEnded(outcome.colour);
        DestroyWindow(window);
    }

    void frame(HDC dc, int index, RECT r) const {
        const bool current = index == m_selection.current();
        const bool chosen = index == m_selection.chosen();
        FillRect(dc, &r, GetSysColorBrush(chosen && !current ? COLOR_3DHILIGHT : COLOR_BTNFACE));
        if (current) {
            RECT inner = r;
            InflateRect(&inner, -1, -1);
            DrawEdge(dc, &inner, BDR_RAISEDINNER, BF_RECT);
        }
        if (chosen) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    }

    void paint(HWND window) const {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
        HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
        HGDIOBJ oldPen = SelectObject(dc, shadow);
        for (int k = 0; k < app::kPaletteCells; ++k) {
            frame(dc, k, toRect(m_geometry.itemRect(k)));
            HBRUSH fill = CreateSolidBrush(app::paletteCells()[static_cast<std::size_t>(k)].colour);
            HGDIOBJ oldBrush = SelectObject(dc, fill);
            const RECT s = toRect(m_geometry.swatchRect(k));
            Rectangle(dc, s.left, s.top, s.right, s.bottom);
            SelectObject(dc, oldBrush);
            DeleteObject(fill);
        }
        SelectObject(dc, oldPen);
        DeleteObject(shadow);
        HGDIOBJ oldFont = SelectObject(dc, m_menuFont);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        const auto box = [&](int index, const std::wstring& text) {
            RECT r = toRect(m_geometry.itemRect(index));
            frame(dc, index, r);
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        };
        if (!m_defaultText.empty()) box(app::kDefaultBox, m_defaultText);
        if (!m_customText.empty()) {
            box(app::kCustomBox, m_customText);
            const RECT r = toRect(m_geometry.itemRect(app::kCustomBox));
            const auto line = [&](int y, int colour) {
                HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(colour));
                HGDIOBJ old = SelectObject(dc, pen);
                MoveToEx(dc, r.left, y, nullptr);
                LineTo(dc, r.right, y);
                SelectObject(dc, old);
                DeleteObject(pen);
            };
            line(r.top, COLOR_BTNSHADOW);
            line(r.top + 1, COLOR_BTNHIGHLIGHT);
        }
        SelectObject(dc, oldFont);
        EndPaint(window, &ps);
    }

    ColourButton& m_button;
    app::Prompts& m_prompts;
    HFONT m_menuFont;
    std::wstring m_defaultText;
    std::wstring m_customText;
    app::PaletteSelection m_selection;
    app::PaletteGeometry m_geometry;
};

LRESULT CALLBACK paletteProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* palette = reinterpret_cast<Palette*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return palette != nullptr ? palette->handle(window, message, wParam, lParam)
                              : DefWindowProcW(window, message, wParam, lParam);
}

void registerPaletteClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_SAVEBITS;
        wc.lpfnWndProc = paletteProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kPaletteClass;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

// A tooltip for each named cell (the first and the last).
void addTooltips(HWND window, const app::PaletteGeometry& geometry) {
    HWND tips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                0, 0, 0, 0, window, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (int k = 0; k < app::kPaletteCells; ++k) {
        const char* name = app::paletteCells()[static_cast<std::size_t>(k)].name;
        if (name[0] == '\0') continue;
        std::wstring text = wide(name);
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.uFlags = TTF_SUBCLASS;
        info.hwnd = window;
        info.uId = static_cast<UINT_PTR>(k) + 1;
        info.rect = toRect(geometry.itemRect(k));
        info.lpszText = text.data();
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

}  // namespace

ColourButton::ColourButton(HWND button, app::Prompts& prompts)
    : m_button(button),
      m_prompts(prompts),
      m_state(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT)) {}

void ColourButton::setColour(std::uint32_t colour) {
    m_state.setColour(colour);
    InvalidateRect(m_button, nullptr, FALSE);
}

void ColourButton::notify(UINT message, std::uint32_t colour) const {
    SendMessageW(GetParent(m_button), message, colour, GetDlgCtrlID(m_button));
}

void ColourButton::openPalette() {
    if (m_palette != nullptr) return;
    registerPaletteClass();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT menuFont = CreateFontIndirectW(&metrics.lfMenuFont);
    SIZE extent{0, 0};
    HDC dc = GetDC(m_button);
    HGDIOBJ old = SelectObject(dc, menuFont);
    for (const std::string& text : {m_state.defaultText(), m_state.customText()}) {
        const std::wstring w = wide(text);
        SIZE s{0, 0};
        GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &s);
        extent.cx = std::max(extent.cx, s.cx);
        extent.cy = std::max(extent.cy, s.cy);
    }
    SelectObject(dc, old);
    ReleaseDC(m_button, dc);

    auto* palette =
        new Palette(*this, m_prompts, menuFont, GetSystemMetrics(SM_CXEDGE), extent.cx, extent.cy);
    const app::PaletteGeometry& g = palette->geometry();
    RECT button;
    GetWindowRect(m_button, &button);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(m_button, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const auto [x, y] =
        g.place(button.left, button.bottom, button.bottom - button.top,
                {work.left, work.top, work.right - work.left, work.bottom - work.top});
    m_state.dropDown();
    m_palette = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kPaletteClass, L"", WS_POPUP, x,
                                y, g.width(), g.height(), GetParent(m_button), nullptr,
                                GetModuleHandleW(nullptr), palette);
    if (m_palette == nullptr) {
        delete palette;
        m_state.selectionEnded(colour());
        return;
    }
    addTooltips(m_palette, g);
    ShowWindow(m_palette, SW_SHOW);
    SetFocus(m_palette);
    SetCapture(m_palette);
}

void ColourButton::selectionEnded(std::uint32_t colour) {
    m_state.selectionEnded(colour);
    InvalidateRect(m_button, nullptr, FALSE);
    notify(kCloseUp, colour);
}

void ColourButton::draw(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    const bool enabled = (item.itemState & ODS_DISABLED) == 0;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    InflateRect(&r, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));

    // The drop-down arrow at the right.
    const int arrowWidth = GetSystemMetrics(SM_CXHTHUMB);
    RECT arrow = r;
    arrow.left = r.right - arrowWidth;
    const int cx = (arrow.left + arrow.right) / 2;
    const int cy = (arrow.top + arrow.bottom) / 2;
    const POINT triangle[3] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 2}};
    HBRUSH arrowBrush = GetSysColorBrush(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    HGDIOBJ oldBrush = SelectObject(dc, arrowBrush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Polygon(dc, triangle, 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);

    // A sunken edge around the rest, filled with the colour.
    RECT swatch = r;
    swatch.right = arrow.left - 2;
    DrawEdge(dc, &swatch, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    const auto fill = m_state.swatchColour(enabled);
    HBRUSH brush = fill ? CreateSolidBrush(*fill) : GetSysColorBrush(COLOR_BTNFACE);
    FillRect(dc, &swatch, brush);
    if (fill) DeleteObject(brush);
    const std::wstring caption = wide(windowText(m_button));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, m_state.captionColour());
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &swatch,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if ((item.itemState & ODS_FOCUS) != 0) {
        InflateRect(&swatch, -2, -2);
        DrawFocusRect(dc, &swatch);
    }
}

}  // namespace pairweb::win
