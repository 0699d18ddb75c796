// Test runner under Wine: COM/OLE on the main thread, as the programs have it.
#include <gtest/gtest.h>
#include <ole2.h>
#include <windows.h>

int main(int argc, char** argv) {
  OleInitialize(nullptr);
  testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  OleUninitialize();
  return result;
}
