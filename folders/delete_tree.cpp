#include "folders/delete_tree.h"

#include "common/format.h"
#include "common/text.h"
#include "platform/win32_api.h"

namespace {

// Handles one entry of `folder`. The buffers are the caller's, so that each nesting level
// holds one entry record and two paths on the stack and nothing more.
void DeleteEntry(const char *folder, const WIN32_FIND_DATAA &entry, char *filePath,
                 char *subFolder) {
    const char *name = entry.cFileName;
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        // A file, or a link to a file: DeleteFileA removes the link, never its target.
        if (FormatText(filePath, MAX_PATH, "%s\\%s", folder, name))
            DeleteFileA(filePath);
        return;
    }
    if (TextsEqual(name, ".") || TextsEqual(name, ".."))
        return;
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        // A junction or a symbolic link to a folder: remove the link, not what it leads to.
        if (FormatText(filePath, MAX_PATH, "%s\\%s", folder, name))
            RemoveDirectoryA(filePath);
        return;
    }
    // The trailing period names the same folder; the nested level removes it last.
    if (FormatText(subFolder, MAX_PATH, "%s\\%s.", folder, name))
        DeleteFolderTree(subFolder);
}

} // namespace

void DeleteFolderTree(const char *folder) {
    WIN32_FIND_DATAA entry;
    char searchPath[MAX_PATH];
    char subFolder[MAX_PATH];
    if (FormatText(searchPath, sizeof searchPath, "%s\\*.*", folder, nullptr)) {
        HANDLE search = FindFirstFileA(searchPath, &entry);
        if (search != INVALID_HANDLE_VALUE) {
            do
                DeleteEntry(folder, entry, searchPath, subFolder);
            while (FindNextFileA(search, &entry));
            FindClose(search);
        }
    }
    RemoveDirectoryA(folder);
}
