// Form1 on Windows: the demonstration as a native window whose list box, List1, shows every kind
// of value read from the sample resources. wWinMain registers the window class, creates Form1
// (which runs the load event before it is first shown), runs the message loop and returns its
// quit code.
#include <windows.h>

#include <bxres/value_text.h>

#include <exception>
#include <optional>
#include <string>

#include "form_load.h"

namespace {

constexpr wchar_t kClassName[] = L"BxResForm1";
constexpr wchar_t kCaption[] = L"Barunex - リソース読み込みモジュールサンプル";

// The layout in pixels at 96 dots per inch: the client area, and List1 inside it.
constexpr SIZE kClientSize{442, 262};
constexpr RECT kList1Bounds{8, 8, 8 + 425, 8 + 244};

// Japanese UI faces, the one a Japanese system uses for its own windows first.
constexpr const wchar_t* kJapaneseFaces[] = {L"MS UI Gothic", L"Yu Gothic UI", L"Meiryo UI",
                                             L"IPAPGothic",   L"IPAGothic",    L"Noto Sans CJK JP"};

const wchar_t* Wide(const std::u16string& text) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// List1 as the load event fills it. The list box shows each line up to its first U+0000.
class ListBox final : public demo::LineList {
 public:
  explicit ListBox(HWND handle) : handle_(handle) {}

  void AddItem(const std::u16string& line) override {
    SendMessageW(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(line)));
  }

 private:
  HWND handle_;
};

// What Form1 owns besides its window.
struct Form1State {
  int dpi = 96;
  HFONT font = nullptr;
  HWND List1 = nullptr;
  std::optional<ListBox> list;  // once List1 exists
};

int Scale(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

bool HasFace(const wchar_t* face) {
  HDC screen = GetDC(nullptr);
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(screen, &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

// The list's font: 9 points of the first Japanese UI face that the system has, or the
// default GUI face where it has none.
HFONT CreateListFont(int dpi) {
  for (const wchar_t* face : kJapaneseFaces) {
    if (HasFace(face)) {
      return CreateFontW(-MulDiv(9, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, face);
    }
  }
  return nullptr;
}

// Creates List1 and runs the load event. An error that escapes it is shown in a message box,
// and the window then opens with the lines read so far.
void OnCreate(HWND window, Form1State& form) {
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  form.List1 = CreateWindowExW(
      WS_EX_CLIENTEDGE, L"LISTBOX", L"",
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT,  // exactly its height
      Scale(kList1Bounds.left, form.dpi), Scale(kList1Bounds.top, form.dpi),
      Scale(kList1Bounds.right - kList1Bounds.left, form.dpi),
      Scale(kList1Bounds.bottom - kList1Bounds.top, form.dpi), window, nullptr, instance, nullptr);
  form.font = CreateListFont(form.dpi);
  const HGDIOBJ font = form.font != nullptr ? form.font : GetStockObject(DEFAULT_GUI_FONT);
  SendMessageW(form.List1, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  form.list.emplace(form.List1);
  try {
    demo::Form_Load(*form.list);
  } catch (const std::exception& e) {
    MessageBoxW(window, Wide(bx::FromUtf8(e.what())), kCaption, MB_OK | MB_ICONERROR);
  }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* form = reinterpret_cast<Form1State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_CREATE: {
      form = static_cast<Form1State*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
      OnCreate(window, *form);
      return 0;
    }
    case WM_DESTROY:
      if (form->font != nullptr) DeleteObject(form->font);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  // Sizes are in real pixels, scaled from 96 dots per inch by the system's setting.
  SetProcessDPIAware();
  Form1State form;
  HDC screen = GetDC(nullptr);
  form.dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);

  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kClassName;
  if (RegisterClassExW(&window_class) == 0) return 1;

  // A fixed border: the client area is exactly the design's.
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, Scale(kClientSize.cx, form.dpi), Scale(kClientSize.cy, form.dpi)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  const HWND window = CreateWindowExW(0, kClassName, kCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                      frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                      nullptr, instance, &form);
  if (window == nullptr) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
