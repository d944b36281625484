// The start-up floor: the least a Win32 program does to show one empty window, built with the same compiler
// and link options as Zolvane.exe.
#include <windows.h>

#include "bench/bare_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand) {
  return ShowAndRun(CreateBareWindow(instance, L"ZolvaneBenchFloor", L"Floor"), showCommand);
}
