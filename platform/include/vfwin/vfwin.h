// Our own Linux stand-in for the subset of the Win32 interface that the
// plug-ins and vfhost use: types, constants and the KERNEL32, USER32, GDI32,
// COMCTL32 and COMDLG32 functions below. Written from what our code expects of
// them; semantics follow the documented behaviour of the real functions.
//
// Only the frame (frame/include/frame/win_api.h) and the Linux host include
// this header; filters reach it through the frame.
#pragma once

#include <stddef.h>
#include <stdint.h>

#if !defined(__x86_64__) && !defined(__i386__) && !defined(__aarch64__)
#error "the platform layer assumes a little-endian target"
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define VFWIN_API __attribute__((visibility("default")))

/* Calling-convention and declaration decorations have no meaning here. */
#define WINAPI
#define CALLBACK
#define APIENTRY
#define __cdecl
#define __stdcall
#ifndef __declspec
#define __declspec(x)
#endif

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef int INT;
typedef unsigned int UINT;
typedef char CHAR;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t DWORD_PTR;
typedef size_t SIZE_T;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef DWORD* LPDWORD;
typedef DWORD COLORREF;
typedef int HFILE;

typedef struct VfWindow* HWND;
typedef struct VfModule* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef void* HANDLE;
typedef void* HGLOBAL;
typedef struct VfDeviceContext* HDC;
typedef struct VfBrush* HBRUSH;
typedef void* HGDIOBJ;

#define TRUE 1
#define FALSE 0
#define VOID void

typedef INT_PTR (*DLGPROC)(HWND, UINT, WPARAM, LPARAM);
typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef BOOL (*WNDENUMPROC)(HWND, LPARAM);
typedef UINT_PTR (*LPCCHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)(((DWORD_PTR)(w)) & 0xff))
#define MAKEWORD(a, b) ((WORD)(((BYTE)(a)) | ((WORD)((BYTE)(b))) << 8))
#define MAKELONG(a, b) ((LONG)(((WORD)(a)) | ((DWORD)((WORD)(b))) << 16))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) (LOBYTE(c))
#define GetGValue(c) (LOBYTE(((WORD)(c)) >> 8))
#define GetBValue(c) (LOBYTE((c) >> 16))
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))

/* Library entry reasons. */
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

/* Packed device-independent bitmap header, 40 bytes. */
typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
} BITMAPINFOHEADER, *LPBITMAPINFOHEADER;
#define BI_RGB 0

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT, *LPRECT;

typedef struct tagSCROLLINFO {
  UINT cbSize;
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;
  int nPos;
  int nTrackPos;
} SCROLLINFO, *LPSCROLLINFO;
typedef const SCROLLINFO* LPCSCROLLINFO;

#define OFS_MAXPATHNAME 128
typedef struct _OFSTRUCT {
  BYTE cBytes;
  BYTE fFixedDisk;
  WORD nErrCode;
  WORD Reserved1;
  WORD Reserved2;
  CHAR szPathName[OFS_MAXPATHNAME];
} OFSTRUCT, *LPOFSTRUCT;

typedef struct tagCHOOSECOLORA {
  DWORD lStructSize;
  HWND hwndOwner;
  HWND hInstance;
  COLORREF rgbResult;
  COLORREF* lpCustColors;
  DWORD Flags;
  LPARAM lCustData;
  LPCCHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
} CHOOSECOLORA, *LPCHOOSECOLORA;
#define CC_RGBINIT 0x1
#define CC_FULLOPEN 0x2
#define CC_PREVENTFULLOPEN 0x4
#define CC_ANYCOLOR 0x100

/* Window messages. */
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_USER 0x0400

#define SC_CLOSE 0xF060
#define IDOK 1
#define IDCANCEL 2

/* Scroll bars. */
#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_LINELEFT 0
#define SB_LINEUP 0
#define SB_LINERIGHT 1
#define SB_LINEDOWN 1
#define SB_PAGELEFT 2
#define SB_PAGEUP 2
#define SB_PAGERIGHT 3
#define SB_PAGEDOWN 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_LEFT 6
#define SB_TOP 6
#define SB_RIGHT 7
#define SB_BOTTOM 7
#define SB_ENDSCROLL 8
#define SIF_RANGE 0x0001
#define SIF_PAGE 0x0002
#define SIF_POS 0x0004
#define SIF_DISABLENOSCROLL 0x0008
#define SIF_TRACKPOS 0x0010
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)
#define SBM_SETPOS 0x00E0
#define SBM_GETPOS 0x00E1
#define SBM_SETRANGE 0x00E2
#define SBM_GETRANGE 0x00E3
#define SBM_SETSCROLLINFO 0x00E9
#define SBM_GETSCROLLINFO 0x00EA

/* Buttons. */
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
#define BM_CLICK 0x00F5
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BN_CLICKED 0

/* Edit boxes. */
#define EN_CHANGE 0x0300
#define EN_UPDATE 0x0400

/* Combo boxes. */
#define CB_GETEDITSEL 0x0140
#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_INSERTSTRING 0x014A
#define CB_RESETCONTENT 0x014B
#define CB_SETCURSEL 0x014E
#define CB_ERR (-1)
#define CBN_SELCHANGE 1

/* Up-down controls. */
#define UDM_SETRANGE (WM_USER + 101)
#define UDM_GETRANGE (WM_USER + 102)
#define UDM_SETPOS (WM_USER + 103)
#define UDM_GETPOS (WM_USER + 104)
#define UDM_SETBUDDY (WM_USER + 105)
#define UDM_GETBUDDY (WM_USER + 106)
#define UDM_SETRANGE32 (WM_USER + 111)
#define UDM_GETRANGE32 (WM_USER + 112)
#define UDM_SETPOS32 (WM_USER + 113)
#define UDM_GETPOS32 (WM_USER + 114)
#define UDS_WRAP 0x0001
#define UDS_SETBUDDYINT 0x0002
#define UDS_ALIGNRIGHT 0x0004
#define UDS_ALIGNLEFT 0x0008
#define UDS_AUTOBUDDY 0x0010
#define UDS_ARROWKEYS 0x0020
#define UDS_HORZ 0x0040
#define UDS_NOTHOUSANDS 0x0080
#define UPDOWN_CLASSA "msctls_updown32"

/* Window styles. */
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_STATICEDGE 0x00020000L

#define DS_ABSALIGN 0x0001L
#define DS_SYSMODAL 0x0002L
#define DS_3DLOOK 0x0004L
#define DS_FIXEDSYS 0x0008L
#define DS_NOFAILCREATE 0x0010L
#define DS_LOCALEDIT 0x0020L
#define DS_SETFONT 0x0040L
#define DS_MODALFRAME 0x0080L
#define DS_NOIDLEMSG 0x0100L
#define DS_SETFOREGROUND 0x0200L
#define DS_CONTROL 0x0400L
#define DS_CENTER 0x0800L
#define DS_CENTERMOUSE 0x1000L
#define DS_CONTEXTHELP 0x2000L
#define DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)

#define ES_LEFT 0x0000L
#define ES_CENTER 0x0001L
#define ES_RIGHT 0x0002L
#define ES_MULTILINE 0x0004L
#define ES_AUTOVSCROLL 0x0040L
#define ES_AUTOHSCROLL 0x0080L
#define ES_READONLY 0x0800L
#define ES_NUMBER 0x2000L

#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_RIGHT 0x00000002L
#define SS_BLACKRECT 0x00000004L
#define SS_GRAYRECT 0x00000005L
#define SS_WHITERECT 0x00000006L
#define SS_BLACKFRAME 0x00000007L
#define SS_GRAYFRAME 0x00000008L
#define SS_WHITEFRAME 0x00000009L
#define SS_LEFTNOWORDWRAP 0x0000000CL
#define SS_NOTIFY 0x00000100L
#define SS_CENTERIMAGE 0x00000200L
#define SS_SUNKEN 0x00001000L

#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_CHECKBOX 0x00000002L
#define BS_AUTOCHECKBOX 0x00000003L
#define BS_RADIOBUTTON 0x00000004L
#define BS_3STATE 0x00000005L
#define BS_AUTO3STATE 0x00000006L
#define BS_GROUPBOX 0x00000007L
#define BS_USERBUTTON 0x00000008L
#define BS_AUTORADIOBUTTON 0x00000009L
#define BS_OWNERDRAW 0x0000000BL
#define BS_TYPEMASK 0x0000000FL
#define BS_LEFTTEXT 0x00000020L
#define BS_TEXT 0x00000000L
#define BS_CENTER 0x00000300L
#define BS_PUSHLIKE 0x00001000L
#define BS_MULTILINE 0x00002000L
#define BS_NOTIFY 0x00004000L
#define BS_FLAT 0x00008000L

#define SBS_HORZ 0x0000L
#define SBS_VERT 0x0001L

#define CBS_SIMPLE 0x0001L
#define CBS_DROPDOWN 0x0002L
#define CBS_DROPDOWNLIST 0x0003L
#define CBS_AUTOHSCROLL 0x0040L
#define CBS_HASSTRINGS 0x0200L

/* GetWindow relations and window longs. */
#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWL_ID (-12)

/* Message boxes. */
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_YESNO 0x00000004L
#define MB_ICONHAND 0x00000010L
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONMASK 0x000000F0L

/* Keys. */
#define VK_ESCAPE 0x1B

/* Memory. */
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define HEAP_ZERO_MEMORY 0x00000008

/* Files. */
#define HFILE_ERROR ((HFILE)-1)
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define OF_READ 0x00000000
#define OF_WRITE 0x00000001
#define OF_READWRITE 0x00000002
#define OF_SHARE_COMPAT 0x00000000
#define OF_SHARE_EXCLUSIVE 0x00000010
#define OF_SHARE_DENY_WRITE 0x00000020
#define OF_SHARE_DENY_READ 0x00000030
#define OF_SHARE_DENY_NONE 0x00000040
#define OF_CREATE 0x00001000
#define OF_EXIST 0x00004000

/* Colours of the system palette used by dialogs. */
#define COLOR_BTNFACE 15

/* ---- KERNEL32 ---- */
VFWIN_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
VFWIN_API LPVOID GlobalLock(HGLOBAL memory);
VFWIN_API BOOL GlobalUnlock(HGLOBAL memory);
VFWIN_API HGLOBAL GlobalFree(HGLOBAL memory);
VFWIN_API SIZE_T GlobalSize(HGLOBAL memory);
VFWIN_API HANDLE GetProcessHeap(void);
VFWIN_API LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
VFWIN_API BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID memory);

VFWIN_API HFILE _lopen(LPCSTR path, int mode);
VFWIN_API HFILE _lcreat(LPCSTR path, int attributes);
VFWIN_API UINT _lread(HFILE file, LPVOID buffer, UINT bytes);
VFWIN_API UINT _lwrite(HFILE file, LPCSTR buffer, UINT bytes);
VFWIN_API HFILE _lclose(HFILE file);
VFWIN_API HFILE OpenFile(LPCSTR path, LPOFSTRUCT info, UINT style);
VFWIN_API BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytes, LPDWORD bytesRead, void* overlapped);
VFWIN_API BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytes, LPDWORD bytesWritten, void* overlapped);
VFWIN_API BOOL CloseHandle(HANDLE object);
VFWIN_API DWORD GetTickCount(void);

/* ---- USER32 ---- */
VFWIN_API INT_PTR DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC procedure,
                                  LPARAM initParam);
VFWIN_API BOOL EndDialog(HWND dialog, INT_PTR result);
VFWIN_API HWND GetDlgItem(HWND dialog, int id);
VFWIN_API int GetDlgCtrlID(HWND control);
VFWIN_API UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
VFWIN_API BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
VFWIN_API BOOL SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
VFWIN_API UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int bufferSize);
VFWIN_API BOOL CheckDlgButton(HWND dialog, int id, UINT check);
VFWIN_API UINT IsDlgButtonChecked(HWND dialog, int id);
VFWIN_API BOOL CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId);
VFWIN_API BOOL EnableWindow(HWND window, BOOL enable);
VFWIN_API BOOL IsWindowEnabled(HWND window);
VFWIN_API BOOL IsWindow(HWND window);
VFWIN_API LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
VFWIN_API LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
VFWIN_API int SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw);
VFWIN_API BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info);
VFWIN_API int SetScrollPos(HWND window, int bar, int position, BOOL redraw);
VFWIN_API int GetScrollPos(HWND window, int bar);
VFWIN_API BOOL SetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL redraw);
VFWIN_API int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
VFWIN_API SHORT GetAsyncKeyState(int key);
VFWIN_API int wsprintfA(LPSTR buffer, LPCSTR format, ...);
VFWIN_API BOOL SetWindowTextA(HWND window, LPCSTR text);
VFWIN_API int GetWindowTextA(HWND window, LPSTR buffer, int bufferSize);
VFWIN_API int GetWindowTextLengthA(HWND window);
VFWIN_API int GetClassNameA(HWND window, LPSTR buffer, int bufferSize);
VFWIN_API LONG GetWindowLongA(HWND window, int index);
VFWIN_API HWND GetWindow(HWND window, UINT relation);
VFWIN_API HWND GetParent(HWND window);
VFWIN_API BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM data);
VFWIN_API BOOL DestroyWindow(HWND window);
VFWIN_API HDC GetDC(HWND window);
VFWIN_API int ReleaseDC(HWND window, HDC context);
VFWIN_API BOOL GetClientRect(HWND window, LPRECT rect);
VFWIN_API int FillRect(HDC context, const RECT* rect, HBRUSH brush);
VFWIN_API BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
VFWIN_API BOOL UpdateWindow(HWND window);

/* ---- GDI32 ---- */
VFWIN_API HBRUSH CreateSolidBrush(COLORREF colour);
VFWIN_API BOOL DeleteObject(HGDIOBJ object);

/* ---- COMCTL32 (imported by ordinal on Windows: 17 and 16) ---- */
VFWIN_API void InitCommonControls(void);
VFWIN_API HWND CreateUpDownControl(DWORD style, int x, int y, int cx, int cy, HWND parent, int id,
                                   HINSTANCE instance, HWND buddy, int upper, int lower, int position);

/* ---- COMDLG32 ---- */
VFWIN_API BOOL ChooseColorA(LPCHOOSECOLORA request);

#ifdef __cplusplus
}
#endif
