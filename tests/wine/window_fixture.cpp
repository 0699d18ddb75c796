#include "tests/wine/window_fixture.h"

#include "common/message_box.h"
#include "common/win_text.h"
#include "tesserin/ui/main_window_win.h"

std::vector<ShownMessage> WindowTest::shown;

void PumpPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void WindowTest::SetUpTestSuite() {
  // config.ini beside the test program: each process starts without one.
  DeleteFileA((RunFolder() + "\\config.ini").c_str());
}

void WindowTest::SetUp() {
  shown.clear();
  SetMessageBoxHook([this](const std::string& text, const std::string& caption, unsigned flags) {
    shown.push_back({text, caption, flags});
    if (answers.empty()) return IDOK;
    int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  });
  // The single-instance mutex lives as long as the process, so one window per process.
  if (!MainWindow()) {
    ASSERT_NE(CreateMainWindow(GetModuleHandleA(nullptr), false), nullptr);
  }
  PumpPending();
}

void WindowTest::TearDown() { SetMessageBoxHook(nullptr); }
