// The real main window, hidden, created once per test process, with message boxes
// recorded instead of shown.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

struct ShownMessage {
  std::string text, caption;
  unsigned flags;
};

class WindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;
  // Answer the next boxes with these buttons, in order (IDOK when the list runs out).
  std::vector<int> answers;
  static std::vector<ShownMessage> shown;
};

// Sends every pending message to its window.
void PumpPending();
