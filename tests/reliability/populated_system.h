// A simulated machine that holds everything the hook deals with: the camera's device nodes,
// INF/PNF files and install folder (with a link out of it), and bystanders of each kind.
#pragma once

#include <string>
#include <vector>

namespace populated {

void Plant();

// The bystander device nodes and files: none of them may ever change.
std::vector<std::string> BystanderDevices();
std::vector<std::string> BystanderFiles();

// What the whole plan removes when nothing fails.
std::vector<std::string> CameraDevices();
std::vector<std::string> CameraFiles();

// Every bystander device and file still there, unchanged; an empty text when so, else what
// is wrong.
std::string BystandersIntact();

} // namespace populated
