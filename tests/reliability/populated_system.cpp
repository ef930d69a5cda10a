#include "tests/reliability/populated_system.h"

#include <algorithm>

#include "platform/sim/sim_control.h"

namespace populated {
namespace {

const std::string kMatch6211 =
    "[Manufacturer]\r\n%Mfg%=Models,NTx86\r\n[Models,NTx86]\r\n; comment\r\n"
    "%Cam%=Install,USB\\VID_0982&PID_6211&MI_00\r\n";
const std::string kMatch6210 =
    "[Manufacturer]\r\n%Mfg%=Models\r\n[Models]\r\n%Cam%=Install,USB\\VID_0982&PID_6210\r\n";
const std::string kBystanderInf =
    "[Manufacturer]\r\n%Mfg%=Models\r\n[Models]\r\n%Cam%=Install,USB\\VID_0982&PID_6212\r\n";

struct File {
    std::string path;
    std::string content;
    DWORD attributes;
};

const std::vector<File> &CameraFileList() {
    static const std::vector<File> files = {
        {"C:\\WINDOWS\\INF\\oem1.inf", kMatch6211, 0},
        {"C:\\WINDOWS\\INF\\oem1.pnf", "pnf", 0},
        {"C:\\WINDOWS\\INF\\OTHER\\Cam6210.INF", kMatch6210, 0},
        {"C:\\WINDOWS\\INF\\OTHER\\cam6210.pnf", "pnf", 0},
        {"C:\\HB\\K582T\\readme.txt", "x", 0},
        {"C:\\HB\\K582T\\bin\\cam.dll", "x", FILE_ATTRIBUTE_HIDDEN},
        {"C:\\HB\\K582T\\bin\\x86\\cam.sys", "x", FILE_ATTRIBUTE_SYSTEM},
    };
    return files;
}

const std::vector<File> &BystanderFileList() {
    static const std::vector<File> files = {
        {"C:\\WINDOWS\\INF\\machine.inf", "[Manufacturer]\r\n", 0},
        {"C:\\WINDOWS\\INF\\oem2.inf", kBystanderInf, 0},
        {"C:\\WINDOWS\\INF\\oem2.pnf", "pnf", 0},
        {"C:\\WINDOWS\\INF\\OTHER\\other.inf", kBystanderInf, 0},
        {"C:\\Shared\\data.txt", "keep", 0},
        {"C:\\Shared\\deep\\more.txt", "keep", 0},
        {"C:\\HB\\K582T2\\sibling.txt", "keep", 0},
        {"C:\\HB\\other\\sibling.txt", "keep", 0},
    };
    return files;
}

} // namespace

void Plant() {
    sim::AddDevice(
        sim::MakeDevice("USB\\VID_1111&PID_0001\\1", {"USB\\VID_1111&PID_0001"}, "Keyboard", true));
    sim::AddDevice(sim::MakeDevice("USB\\VID_0982&PID_6211&MI_00\\1",
                                   {"USB\\VID_0982&PID_6211&MI_00"}, "Camera"));
    sim::AddDevice(
        sim::MakeDevice("USB\\VID_0982&PID_6212\\1", {"USB\\VID_0982&PID_6212"}, "Other camera"));
    sim::AddDevice(
        sim::MakeDevice("USB\\VID_0982&PID_6210\\1", {"USB\\VID_0982&PID_6210"}, "Camera", true));
    sim::AddDevice(sim::MakeDevice("USB\\VID_2222&PID_0002\\1",
                                   {"USB\\VID_2222&PID_0002", "USB\\VID_0982&PID_6211"}, "Hub"));
    sim::AddDevice(sim::MakeDevice("ROOT\\IMAGE\\0001", {"ROOT\\IMAGE"}, "5.0 M Lumacorder"));
    for (const File &file : CameraFileList())
        sim::WriteFile(file.path, file.content, file.attributes);
    for (const File &file : BystanderFileList())
        sim::WriteFile(file.path, file.content, file.attributes);
    sim::MakeFolderLink("C:\\HB\\K582T\\shared", "C:\\Shared");
}

std::vector<std::string> BystanderDevices() {
    return {"USB\\VID_1111&PID_0001\\1", "USB\\VID_0982&PID_6212\\1", "USB\\VID_2222&PID_0002\\1"};
}

std::vector<std::string> CameraDevices() {
    return {"USB\\VID_0982&PID_6211&MI_00\\1", "USB\\VID_0982&PID_6210\\1", "ROOT\\IMAGE\\0001"};
}

std::vector<std::string> BystanderFiles() {
    std::vector<std::string> paths;
    for (const File &file : BystanderFileList())
        paths.push_back(file.path);
    return paths;
}

std::vector<std::string> CameraFiles() {
    std::vector<std::string> paths;
    for (const File &file : CameraFileList())
        paths.push_back(file.path);
    return paths;
}

std::string BystandersIntact() {
    std::vector<std::string> devices = sim::DeviceIds();
    for (const std::string &id : BystanderDevices())
        if (std::find(devices.begin(), devices.end(), id) == devices.end())
            return "device " + id + " is gone";
    for (const File &file : BystanderFileList()) {
        if (!sim::Exists(file.path))
            return "file " + file.path + " is gone";
        if (sim::ReadFile(file.path) != file.content)
            return "file " + file.path + " changed";
    }
    return "";
}

} // namespace populated
