// Drives the Windows demonstration from outside, as a user sees it: starts the program, finds
// Form1 by its caption, checks its client size, List1's place and size and its lines, then
// closes the window and checks that the program ends with status 0.
//
//   form1_probe <program> listing   the fifteen lines of the samples
//   form1_probe <program> error     a program without resource 102: a message box naming the
//                                   error, then the seven lines read before it
//
// Every wait is bounded; the probe says what it waited for when time runs out, and exits 1 on
// any failure.
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "expected_lines.h"

namespace {

constexpr wchar_t kCaption[] = L"Barunex - リソース読み込みモジュールサンプル";
constexpr DWORD kWaitMs = 30000;

std::u16string_view Text16(const std::wstring& text) {
  return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

// For messages on the console, which Wine passes to a UTF-8 terminal.
std::string Utf8(std::wstring_view text) {
  std::string out(static_cast<std::size_t>(text.size() * 3 + 1), '\0');
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                    out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

int failures = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
  if (!ok) ++failures;
}

struct WindowSearch {
  DWORD process;
  const wchar_t* window_class;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[64];
  GetClassNameW(window, name, 64);
  if (owner != search->process || lstrcmpW(name, search->window_class) != 0 ||
      !IsWindowVisible(window)) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

// The first visible top-level window of the process with this window class, or null; waits up
// to kWaitMs for it.
HWND WaitForWindow(DWORD process, const wchar_t* window_class) {
  WindowSearch search{process, window_class, nullptr};
  for (DWORD waited = 0; waited < kWaitMs; waited += 100) {
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    Sleep(100);
  }
  return nullptr;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ListLine(HWND list, int row) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
  if (length < 0) return L"(no line)";
  std::wstring line(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(line.data()));
  line.resize(static_cast<std::size_t>(length));
  return line;
}

// The message box that reports the error: its text names it; then it is dismissed.
void CheckErrorBox(DWORD process) {
  const HWND box = WaitForWindow(process, L"#32770");
  Check(box != nullptr, "a message box reports the error");
  if (box == nullptr) return;
  wchar_t text[512] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 512);  // the message of a message box
  const std::wstring_view message(text);
  Check(message.starts_with(L"Resource not found: resource 102 of type \"CUSTOM\""),
        "the message names the error: " + Utf8(message));
  Check(WindowText(box) == kCaption, "the message box has the window's caption");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

void CheckForm(HWND form, std::size_t lines, int dpi) {
  const auto scaled = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
  Check(WindowText(form) == kCaption, "the caption is \"" + Utf8(WindowText(form)) + "\"");
  RECT client;
  GetClientRect(form, &client);
  Check(client.right == scaled(442) && client.bottom == scaled(262),
        "the client area is " + std::to_string(client.right) + " x " +
            std::to_string(client.bottom) + " at " + std::to_string(dpi) + " dpi");

  const HWND list = FindWindowExW(form, nullptr, L"ListBox", nullptr);
  Check(list != nullptr, "Form1 holds a list box");
  if (list == nullptr) return;
  RECT bounds;
  GetWindowRect(list, &bounds);
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&bounds), 2);
  Check(bounds.left == scaled(8) && bounds.top == scaled(8) &&
            bounds.right - bounds.left == scaled(425) && bounds.bottom - bounds.top == scaled(244),
        "List1 is at " + std::to_string(bounds.left) + ", " + std::to_string(bounds.top) + ", " +
            std::to_string(bounds.right - bounds.left) + " x " +
            std::to_string(bounds.bottom - bounds.top));

  const auto count = static_cast<std::size_t>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  Check(count == lines, "List1 holds " + std::to_string(count) + " lines");
  for (std::size_t row = 0; row < count && row < lines; ++row) {
    const std::wstring line = ListLine(list, static_cast<int>(row));
    Check(Text16(line) == Shown(kSampleLines[row]),
          "line " + std::to_string(row + 1) + " reads \"" + Utf8(line) + "\"");
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Every line reaches the log at once, so that a run cut short shows how far it came.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc != 3) {
    std::fprintf(stderr, "usage: form1_probe <program> listing|error\n");
    return 2;
  }
  SetProcessDPIAware();  // real pixels, as the program measures them
  const bool error_path = std::wstring_view(argv[2]) == L"error";
  std::printf("starting %s\n", Utf8(argv[1]).c_str());

  std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION program{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &program)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", Utf8(argv[1]).c_str(), GetLastError());
    return 1;
  }
  WaitForInputIdle(program.hProcess, kWaitMs);

  if (error_path) CheckErrorBox(program.dwProcessId);
  const HWND form = WaitForWindow(program.dwProcessId, L"BxResForm1");
  Check(form != nullptr, "Form1 opened within " + std::to_string(kWaitMs / 1000) + " s");
  if (form != nullptr) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    CheckForm(form, error_path ? 7 : std::size(kSampleLines), dpi);
    PostMessageW(form, WM_CLOSE, 0, 0);
  }

  DWORD status = STILL_ACTIVE;
  if (WaitForSingleObject(program.hProcess, kWaitMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(program.hProcess, &status);
    Check(status == 0, "closing the window ends the program with status " + std::to_string(status));
  } else {
    Check(false, "the program ended within " + std::to_string(kWaitMs / 1000) + " s of closing");
    TerminateProcess(program.hProcess, 1);
  }
  CloseHandle(program.hThread);
  CloseHandle(program.hProcess);
  std::printf("%d failed\n", failures);
  return failures == 0 ? 0 : 1;
}
