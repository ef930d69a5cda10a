// Removal of device nodes, attached or not, whose first hardware ID or whose description
// contains a pattern in any letter case. Nothing is reported.
#pragma once

// Passes that cap a removal whose platform reports success while the node stays listed:
// far more than any real system needs, few enough that the host is never hung.
constexpr unsigned kMaxRemovalPasses = 300;

// Removes every node whose first hardware ID contains "Vid_<vendor>&Pid_<product>".
// A pair longer than 10 characters together does not fit the pattern and removes nothing.
void RemoveDevicesByHardwareId(const char *product, const char *vendor);

// Removes every node whose description contains `description`. An empty description, which
// would match every node, removes nothing.
void RemoveDevicesByDescription(const char *description);
