// State shared by the parts of the simulated Windows. Not for tests: they use
// sim_control.h.
#pragma once

#include <map>
#include <string>

#include "platform/sim/sim_control.h"

namespace sim::detail {

// Logs a call that cannot fail.
void Log(const char *function, const std::string &text);
// Logs the call and tells whether an armed fault makes it fail; when it does, the last
// error is already set to the fault's error.
bool Enter(const char *function, const std::string &text);
// Marks the call just logged as failed and sets the last error.
void Fail(DWORD error);
void SetLastErrorCode(DWORD error);
// Replaces the text logged for the call just entered.
void Annotate(const std::string &text);

// Heap accounting shared by LocalAlloc and FormatMessageA.
void *AllocateBlock(SIZE_T bytes, bool zeroFill);
bool ReleaseBlock(void *block);
void CountBadRelease();

// Resets of the parts, called by Reset().
void ResetDevices();
void ResetFiles();
void ResetMemory();
void ResetNotices();
int OpenSearchCount();
int OpenDeviceSetCount();
int HeapBlockCount();

// The content of a file for the INI reader; false (last error set) when there is none.
bool ReadFileContent(const char *path, std::string *content);

std::string Lower(const std::string &text);
// The text argument of a call, for the log: null shows as "(null)".
std::string Shown(const char *text);

} // namespace sim::detail
