// The two entry points that the host uninstaller calls. Every step runs on every call,
// whatever the steps before it did, and the host always gets 0.
#include "devices/remove_devices.h"
#include "folders/delete_tree.h"
#include "hook/cleanup_plan.h"
#include "inf/inf_cleanup.h"

extern const char kVendorId[] = "0982";
extern const char kFirstProductId[] = "6211";
extern const char kSecondProductId[] = "6210";
extern const char kDeviceDescription[] = "5.0 M Lumacorder";
extern const char kInstallFolder[] = "C:\\HB\\K582T";
extern const char kNoticeText[] = "Please restart your computer!";
extern const char kNoticeCaption[] = "Information";

extern "C" int WINAPI UninstInitialize(DWORD, DWORD, DWORD) {
    RemoveDevicesByHardwareId(kFirstProductId, kVendorId);
    RemoveDevicesByHardwareId(kSecondProductId, kVendorId);
    RemoveDevicesByDescription(kDeviceDescription);
    RemoveDriverInfFiles(kFirstProductId, kVendorId);
    RemoveDriverInfFiles(kSecondProductId, kVendorId);
    DeleteFolderTree(kInstallFolder);
    return 0;
}

extern "C" int WINAPI UninstUnInitialize(DWORD, DWORD, DWORD) {
    // The answer (the button, or 0 when no box could be shown) changes nothing.
    MessageBoxA(nullptr, kNoticeText, kNoticeCaption, kNoticeStyle);
    return 0;
}
