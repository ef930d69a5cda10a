// What a host test can do to the simulated Windows: lay out a machine (device tree,
// file system, Windows folder), make calls fail, and read back what the hook did
// (call log, debugger output, notices, open resources).
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "platform/sim/sim_api.h"

namespace sim {

// Puts the machine back to its empty state: no devices, an empty drive C: holding only
// C:\WINDOWS, no faults, empty logs, nothing open.
void Reset();

// ---- Faults ---------------------------------------------------------------------------
// The occurrence-th call (counted from 1 since the fault was armed) of the named function
// fails with `error`; occurrence 0 makes every call fail. Functions that cannot fail
// (GetLastError, OutputDebugStringA) ignore faults. A release call (FindClose,
// SetupDiDestroyDeviceInfoList, LocalFree) that is made to fail still releases: the
// fault only changes what it reports.
void FailCall(const std::string &function, unsigned occurrence, DWORD error);
// How many armed faults have actually fired.
unsigned FaultsFired();

// ---- Call log -------------------------------------------------------------------------
struct Call {
    std::string function;
    std::string text;       // the path, pattern, section or text argument, where the call has one
    bool failed;            // the call reported failure
    uintptr_t stackAddress; // an address in the caller's stack at the time of the call
};
const std::vector<Call> &Calls();
// The functions called, in order, without their arguments.
std::vector<std::string> CalledFunctions();

// ---- Resources ------------------------------------------------------------------------
struct Resources {
    int openDeviceSets;
    int openSearches;
    int heapBlocks;
    int badReleases; // releases of something that was not open
};
Resources OpenResources();

// ---- Device tree ----------------------------------------------------------------------
enum class Removal { Succeeds, Fails, ReportsSuccessButStays };

struct DeviceNode {
    std::string instanceId;
    // Raw REG_MULTI_SZ bytes of SPDRP_HARDWAREID, or absent.
    bool hasHardwareIds = false;
    std::string hardwareIdBytes;
    // Raw REG_SZ bytes of SPDRP_DEVICEDESC, or absent.
    bool hasDescription = false;
    std::string descriptionBytes;
    bool attached = false;
    Removal removal = Removal::Succeeds;
};

// A node with a terminated hardware-ID list and description (empty description: none).
DeviceNode MakeDevice(const std::string &instanceId, const std::vector<std::string> &hardwareIds,
                      const std::string &description, bool attached = false);
void AddDevice(const DeviceNode &node);
// The instance IDs still in the tree, in tree order.
std::vector<std::string> DeviceIds();
// How many SetupDiGetClassDevsA calls built a set.
unsigned DeviceSetsBuilt();

// ---- File system ----------------------------------------------------------------------
// Paths are absolute ("C:\..."); names compare without regard to letter case.
void SetWindowsDirectory(const std::string &path);
enum class WindowsDirectoryAnswer { Normal, Fails, TooLong };
void SetWindowsDirectoryAnswer(WindowsDirectoryAnswer answer);

void MakeFolder(const std::string &path); // with every missing folder above it
void WriteFile(const std::string &path, const std::string &content, DWORD attributes = 0);
void SetAttributes(const std::string &path, DWORD attributes);
// A file that can be read but not deleted, as one that another process has open.
void SetInUse(const std::string &path, bool inUse);
// A folder link (symbolic link or junction) at `path` that leads to the folder `target`.
void MakeFolderLink(const std::string &path, const std::string &target);
// A file link at `path` that leads to the file `target`.
void MakeFileLink(const std::string &path, const std::string &target);
bool Exists(const std::string &path);
// Every path below `root` (the root excluded), each as created, in listing order.
std::vector<std::string> Tree(const std::string &root);
std::string ReadFile(const std::string &path);

// ---- Debugger output and notices -------------------------------------------------------
const std::vector<std::string> &DebugOutput();

struct Notice {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
};
const std::vector<Notice> &Notices();
void SetNoticeAnswer(int answer);

} // namespace sim
