// The constants of the clean-up plan and the two exported entry points.
#pragma once

#include "platform/win32_api.h"

extern const char kVendorId[];
extern const char kFirstProductId[];
extern const char kSecondProductId[];
extern const char kDeviceDescription[];
extern const char kInstallFolder[];
extern const char kNoticeText[];
extern const char kNoticeCaption[];
constexpr UINT kNoticeStyle = MB_OK | MB_ICONINFORMATION;

// The host passes three 32-bit arguments, which are never read.
extern "C" int WINAPI UninstInitialize(DWORD, DWORD, DWORD);
extern "C" int WINAPI UninstUnInitialize(DWORD, DWORD, DWORD);
