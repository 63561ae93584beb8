#include "env/wait.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {
int handled = 0;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_APP) {
    ++handled;
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND CountingWindow() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = CountingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "WaitTestWindow";
  RegisterClassA(&wc);
  return CreateWindowA("WaitTestWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}
}  // namespace

TEST(Waits, DelayDispatchesAtLeastOnceEvenForNoTimeAtAll) {
  HWND window = CountingWindow();
  for (long ms : {0L, -5L}) {
    handled = 0;
    PostMessageA(window, WM_APP, 0, 0);
    Delay(ms);
    EXPECT_EQ(handled, 1) << ms;
  }
  DestroyWindow(window);
}

TEST(Waits, WaitLastsAtLeastItsTimeAndPauseWithoutDispatchLeavesMessagesWaiting) {
  HWND window = CountingWindow();
  handled = 0;
  PostMessageA(window, WM_APP, 0, 0);
  const DWORD start = GetTickCount();
  Pause(120, false);
  EXPECT_GE(GetTickCount() - start, 120u);
  EXPECT_EQ(handled, 0);
  Delay(30);
  EXPECT_EQ(handled, 1);
  DestroyWindow(window);
}

TEST(Waits, AQuitRequestSurvivesTheWait) {
  PostQuitMessage(7);
  Delay(0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}
