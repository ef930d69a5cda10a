// Removal of a folder with everything below it, depth first. Whatever cannot be deleted
// stays, with the folders above it; nothing is reported. Links (entries that carry
// FILE_ATTRIBUTE_REPARSE_POINT) are removed themselves and never followed, so nothing
// outside the folder is touched. An entry whose path would not fit in MAX_PATH bytes is
// left alone, and a folder whose search pattern would not fit counts as one without entries.
#pragma once

void DeleteFolderTree(const char *folder);
