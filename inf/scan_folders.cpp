// The folder scan: every "*.INF" entry of the INF folder, then of the OTHER folder.
#include "common/text.h"
#include "inf/inf_cleanup.h"
#include "platform/win32_api.h"

namespace {

// Hands every entry that the folder's "*.INF" search yields to the model match; answers
// whether the search yielded any entry.
bool ExamineInfFolder(const char *folder, const char *product, const char *vendor) {
    char searchPath[MAX_PATH];
    if (!JoinPath(folder, "*.INF", searchPath, sizeof searchPath))
        return false;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(searchPath, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    do {
        char filePath[MAX_PATH];
        // A name whose full path would not fit is left alone.
        if (JoinPath(folder, entry.cFileName, filePath, sizeof filePath))
            RemoveInfIfModelMatches(product, vendor, filePath);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return true;
}

} // namespace

void RemoveDriverInfFiles(const char *product, const char *vendor) {
    char windowsFolder[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    // A failed call leaves the buffer unfilled; a count of MAX_PATH or more means the path
    // did not fit and was not written.
    if (length == 0 || length >= sizeof windowsFolder)
        return;
    char infFolder[MAX_PATH];
    char otherFolder[MAX_PATH];
    if (!JoinPath(windowsFolder, "\\INF", infFolder, sizeof infFolder))
        return;
    bool otherFits = JoinPath(windowsFolder, "\\INF\\OTHER", otherFolder, sizeof otherFolder);
    if (ExamineInfFolder(infFolder, product, vendor) && otherFits)
        ExamineInfFolder(otherFolder, product, vendor);
}

bool JoinPath(const char *base, const char *tail, char *output, unsigned capacity) {
    for (unsigned i = 0; i < 4; ++i)
        output[i] = '\0';
    if (base == nullptr || tail == nullptr || base[0] == '\0')
        return false;
    unsigned baseLength = TextLength(base);
    bool addSeparator = base[baseLength - 1] != '\\';
    if (tail[0] == '\\')
        ++tail;
    unsigned tailLength = TextLength(tail);
    unsigned total = baseLength + (addSeparator ? 1 : 0) + tailLength;
    if (total >= capacity)
        return false;
    unsigned used = 0;
    for (unsigned i = 0; i < baseLength; ++i)
        output[used++] = base[i];
    if (addSeparator)
        output[used++] = '\\';
    for (unsigned i = 0; i <= tailLength; ++i)
        output[used++] = tail[i];
    return true;
}
