// The Windows types, constants and ANSI calls that the hook uses, declared for the
// host build. Names, values and layouts follow the Win32 documentation; the
// behaviour behind them is the simulated Windows of this folder.
#pragma once

#include <stdint.h>

#define WINAPI
#define TRUE 1
#define FALSE 0
#define MAX_PATH 260

typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef uint32_t UINT;
typedef char CHAR;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef void *LPVOID;
typedef void *HANDLE;
typedef void *HWND;
typedef void *HINSTANCE;
typedef void *HLOCAL;
typedef void *HDEVINFO;
typedef BYTE *PBYTE;
typedef DWORD *PDWORD;
typedef int HFILE;
typedef uintptr_t SIZE_T;

#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
#define HFILE_ERROR ((HFILE)-1)

#define ERROR_SUCCESS 0u
#define ERROR_FILE_NOT_FOUND 2u
#define ERROR_PATH_NOT_FOUND 3u
#define ERROR_ACCESS_DENIED 5u
#define ERROR_INVALID_HANDLE 6u
#define ERROR_NOT_ENOUGH_MEMORY 8u
#define ERROR_INVALID_DATA 13u
#define ERROR_NO_MORE_FILES 18u
#define ERROR_SHARING_VIOLATION 32u
#define ERROR_INVALID_PARAMETER 87u
#define ERROR_INSUFFICIENT_BUFFER 122u
#define ERROR_INVALID_NAME 123u
#define ERROR_DIR_NOT_EMPTY 145u
#define ERROR_FILENAME_EXCED_RANGE 206u
#define ERROR_NO_MORE_ITEMS 259u
#define ERROR_DIRECTORY 267u
#define ERROR_MR_MID_NOT_FOUND 317u
#define ERROR_INVALID_USER_BUFFER 1784u
#define ERROR_NO_SUCH_DEVINST 0xE000020Bu

#define FILE_ATTRIBUTE_READONLY 0x1u
#define FILE_ATTRIBUTE_HIDDEN 0x2u
#define FILE_ATTRIBUTE_SYSTEM 0x4u
#define FILE_ATTRIBUTE_DIRECTORY 0x10u
#define FILE_ATTRIBUTE_ARCHIVE 0x20u
#define FILE_ATTRIBUTE_REPARSE_POINT 0x400u

#define LMEM_FIXED 0x0u
#define LMEM_ZEROINIT 0x40u
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x100u
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x200u
#define FORMAT_MESSAGE_FROM_SYSTEM 0x1000u
#define LANG_NEUTRAL 0x00u
#define SUBLANG_DEFAULT 0x01u
#define MAKELANGID(primary, sub) ((((WORD)(sub)) << 10) | (WORD)(primary))

#define OF_EXIST 0x4000u
#define OFS_MAXPATHNAME 128

#define MB_OK 0x0u
#define MB_ICONINFORMATION 0x40u
#define IDOK 1

#define DIGCF_PRESENT 0x2u
#define DIGCF_ALLCLASSES 0x4u
#define SPDRP_DEVICEDESC 0x0u
#define SPDRP_HARDWAREID 0x1u
#define REG_SZ 1u
#define REG_MULTI_SZ 7u

#define DLL_PROCESS_DETACH 0u
#define DLL_PROCESS_ATTACH 1u
#define DLL_THREAD_ATTACH 2u
#define DLL_THREAD_DETACH 3u

typedef struct _GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
} GUID;

typedef struct _FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME;

typedef struct _WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    CHAR cFileName[MAX_PATH];
    CHAR cAlternateFileName[14];
} WIN32_FIND_DATAA, *LPWIN32_FIND_DATAA;

typedef struct _OFSTRUCT {
    BYTE cBytes;
    BYTE fFixedDisk;
    WORD nErrCode;
    WORD Reserved1;
    WORD Reserved2;
    CHAR szPathName[OFS_MAXPATHNAME];
} OFSTRUCT, *LPOFSTRUCT;

// Laid out as on 32-bit Windows, where the record is 28 bytes.
typedef struct _SP_DEVINFO_DATA {
    DWORD cbSize;
    GUID ClassGuid;
    DWORD DevInst;
    DWORD Reserved;
} SP_DEVINFO_DATA, *PSP_DEVINFO_DATA;

// Kernel services.
UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);
HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA entry);
BOOL FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA entry);
BOOL FindClose(HANDLE search);
BOOL DeleteFileA(LPCSTR path);
BOOL RemoveDirectoryA(LPCSTR path);
DWORD GetPrivateProfileSectionA(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR file);
HFILE OpenFile(LPCSTR path, LPOFSTRUCT record, UINT style);
void OutputDebugStringA(LPCSTR text);
DWORD FormatMessageA(DWORD flags, const void *source, DWORD code, DWORD language, LPSTR buffer,
                     DWORD size, void *arguments);
DWORD GetLastError(void);
HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL LocalFree(HLOCAL block);

// Device-installation service.
HDEVINFO SetupDiGetClassDevsA(const GUID *classGuid, LPCSTR enumerator, HWND parent, DWORD flags);
BOOL SetupDiEnumDeviceInfo(HDEVINFO set, DWORD index, PSP_DEVINFO_DATA node);
BOOL SetupDiGetDeviceRegistryPropertyA(HDEVINFO set, PSP_DEVINFO_DATA node, DWORD property,
                                       PDWORD dataType, PBYTE buffer, DWORD size,
                                       PDWORD requiredSize);
BOOL SetupDiRemoveDevice(HDEVINFO set, PSP_DEVINFO_DATA node);
BOOL SetupDiDestroyDeviceInfoList(HDEVINFO set);

// User interface.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
