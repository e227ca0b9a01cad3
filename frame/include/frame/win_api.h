// The one door from plug-in code to the platform: the real Windows headers in
// Windows builds, our own platform layer on Linux.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <commctrl.h>
#include <commdlg.h>
#include <windows.h>
#else
#include "vfwin/vfwin.h"
#endif
