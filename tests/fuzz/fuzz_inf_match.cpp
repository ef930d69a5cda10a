// Arbitrary file bytes as a setup information file, through the INI reader and the model
// match. Only the examined file and its companion may go, and only when the file holds the
// camera's hardware ID; the caller's texts stay as they were.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "inf/inf_cleanup.h"
#include "platform/sim/sim_control.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::string LowerWithoutZeros(const std::string &bytes) {
    std::string text;
    for (char c : bytes)
        if (c != '\0')
            text += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c;
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const char path[] = "C:\\WINDOWS\\INF\\Fuzz.INF";
    const std::string content(reinterpret_cast<const char *>(data), size);
    sim::Reset();
    sim::WriteFile(path, content);
    sim::WriteFile("C:\\WINDOWS\\INF\\fuzz.pnf", "companion");
    sim::WriteFile("C:\\WINDOWS\\INF\\keep.inf", content);
    // Exactly sized heap copies, so that any write past them is caught.
    char *product = strdup("6211");
    char *vendor = strdup("0982");
    char *filePath = static_cast<char *>(malloc(MAX_PATH));
    memcpy(filePath, path, sizeof path);

    RemoveInfIfModelMatches(product, vendor, filePath);

    bool deleted = !sim::Exists(path);
    Require(strcmp(product, "6211") == 0 && strcmp(vendor, "0982") == 0, "inputs unchanged");
    Require(sim::Exists("C:\\WINDOWS\\INF\\keep.inf") &&
                sim::ReadFile("C:\\WINDOWS\\INF\\keep.inf") == content,
            "bystander untouched");
    Require(deleted == !sim::Exists("C:\\WINDOWS\\INF\\fuzz.pnf"), "file and companion together");
    if (deleted) {
        Require(LowerWithoutZeros(content).find("vid_0982&pid_6211") != std::string::npos,
                "deleted only when the file names the camera");
        Require(strcmp(filePath, "c:\\windows\\inf\\fuzz.inf") == 0, "path lower-cased on a hit");
        Require(sim::DebugOutput().size() == 2, "two traces");
    } else {
        Require(strcmp(filePath, path) == 0, "path unchanged without a hit");
        Require(sim::DebugOutput().empty(), "no trace without a hit");
    }
    sim::Resources open = sim::OpenResources();
    Require(open.heapBlocks == 0 && open.openSearches == 0 && open.badReleases == 0,
            "everything released");
    free(product);
    free(vendor);
    free(filePath);
    return 0;
}
