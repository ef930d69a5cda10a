// Clean-up of the driver's setup information files: the INF files in the Windows folder's
// INF and INF\OTHER folders that name the camera's hardware ID, each deleted with its
// precompiled ".pnf" companion and traced on the debugger output.
#pragma once

// Examines every "*.INF" entry of <Windows>\INF, then of <Windows>\INF\OTHER (the second only
// when the first yields an entry), with RemoveInfIfModelMatches.
void RemoveDriverInfFiles(const char *product, const char *vendor);

// Joins base and tail with exactly one backslash between them (one that either brings is
// kept, a second one is not dropped). The output is emptied first, and stays empty when base
// or tail is null, base is empty, or the joined text with its terminator would not fit in
// `capacity` bytes (at least 4); the answer says whether a path was formed.
bool JoinPath(const char *base, const char *tail, char *output, unsigned capacity);

// Deletes the file and then its ".pnf" companion when an entry of a model section that its
// "Manufacturer" section names holds "vid_<vendor>&pid_<product>" in any letter case. On a
// hit the path is left lower-cased in place.
void RemoveInfIfModelMatches(const char *product, const char *vendor, char *filePath);

// Traces the path, then deletes the file if it exists, tracing the system's text for a
// refusal. Answers 1 when the file was deleted, else 0.
int DeleteFileTraced(const char *path);

// Answers 1 when the file exists, else 0.
int FileExists(const char *path);
