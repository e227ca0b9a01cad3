// The one door from plug-in code to the platform: the real Windows headers in
// Windows builds, our own platform layer on Linux.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
// <windows.h> first: the other two build on its types.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
// clang-format on
#else
#include "vfwin/vfwin.h"
#endif
