// The file system of the simulated Windows: one drive C:, names compared without regard to
// letter case, attributes, folder and file links, the MAX_PATH limit, and the path rules
// that Win32 applies (trailing periods and spaces of a segment dropped, "." and ".."
// resolved, repeated separators folded).
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <set>

#include "platform/sim/sim_internal.h"

namespace sim {
namespace {

constexpr size_t kMaxNameLength = 255;
constexpr int kMaxLinkDepth = 16;

struct Node {
    std::string name;
    bool folder = false;
    DWORD attributes = 0; // read-only, hidden, system
    bool inUse = false;
    std::string content;
    std::string linkTarget; // not empty: a link to this path
    Node *parent = nullptr;
    std::map<std::string, std::unique_ptr<Node>> children; // keyed by lower-case name
};

struct Lookup {
    Node *node = nullptr;   // the entry named, or null
    Node *parent = nullptr; // the folder that holds (or would hold) it
    DWORD error = ERROR_SUCCESS;
};

struct Search {
    Node *folder;
    std::vector<std::string> names; // lower-case keys, "." and ".." as themselves
    size_t next;
};

std::unique_ptr<Node> root;
std::string windowsDirectory;
WindowsDirectoryAnswer windowsDirectoryAnswer = WindowsDirectoryAnswer::Normal;
std::map<HANDLE, std::unique_ptr<Search>> searches;

std::vector<std::string> SplitSegments(const std::string &rest) {
    std::vector<std::string> segments;
    std::string segment;
    auto flush = [&]() {
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (segment != ".") {
            while (!segment.empty() && (segment.back() == '.' || segment.back() == ' '))
                segment.pop_back();
            if (!segment.empty())
                segments.push_back(segment);
        }
        segment.clear();
    };
    for (char c : rest) {
        if (c == '\\' || c == '/')
            flush();
        else
            segment += c;
    }
    flush();
    return segments;
}

Lookup Resolve(const std::string &path, bool followLast, bool enforceLimits, int depth = 0);

// Follows `node` when it is a link; null when the link leads nowhere.
Node *Follow(Node *node, bool enforceLimits, int depth) {
    if (node == nullptr || node->linkTarget.empty())
        return node;
    if (depth >= kMaxLinkDepth)
        return nullptr;
    Lookup target = Resolve(node->linkTarget, true, enforceLimits, depth + 1);
    if (target.node == nullptr || target.node->folder != node->folder)
        return nullptr;
    return target.node;
}

Lookup Resolve(const std::string &path, bool followLast, bool enforceLimits, int depth) {
    Lookup result;
    if (enforceLimits && path.size() >= MAX_PATH) {
        result.error = ERROR_FILENAME_EXCED_RANGE;
        return result;
    }
    if (path.size() < 3 || (path[0] != 'C' && path[0] != 'c') || path[1] != ':' ||
        (path[2] != '\\' && path[2] != '/')) {
        result.error = ERROR_PATH_NOT_FOUND;
        return result;
    }
    std::vector<std::string> segments = SplitSegments(path.substr(3));
    Node *folder = root.get();
    if (segments.empty()) {
        result.node = folder;
        return result;
    }
    for (size_t i = 0; i < segments.size(); ++i) {
        if (enforceLimits && segments[i].size() > kMaxNameLength) {
            result.error = ERROR_FILENAME_EXCED_RANGE;
            return result;
        }
        auto found = folder->children.find(detail::Lower(segments[i]));
        Node *child = found == folder->children.end() ? nullptr : found->second.get();
        bool last = i + 1 == segments.size();
        if (last) {
            result.parent = folder;
            result.node = followLast ? Follow(child, enforceLimits, depth) : child;
            if (result.node == nullptr)
                result.error = child == nullptr ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
            return result;
        }
        child = Follow(child, enforceLimits, depth);
        if (child == nullptr || !child->folder) {
            result.error = ERROR_PATH_NOT_FOUND;
            return result;
        }
        folder = child;
    }
    return result;
}

Node *MakeFolders(const std::string &path);

// Creates (or replaces) the entry at `path`, its folders made as needed (limits not applied:
// the test lays the machine out).
Node *MakeEntry(const std::string &path, bool folder) {
    size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos || cut < 2)
        return nullptr;
    Node *parent = cut == 2 ? root.get() : MakeFolders(path.substr(0, cut));
    if (parent == nullptr)
        return nullptr;
    std::vector<std::string> segments = SplitSegments(path.substr(cut + 1));
    if (segments.size() != 1)
        return nullptr;
    auto node = std::make_unique<Node>();
    node->name = segments[0];
    node->folder = folder;
    node->parent = parent;
    Node *made = node.get();
    parent->children[detail::Lower(node->name)] = std::move(node);
    return made;
}

// The folder at `path`, made with every missing folder above it.
Node *MakeFolders(const std::string &path) {
    Lookup existing = Resolve(path, true, false);
    if (existing.node != nullptr)
        return existing.node->folder ? existing.node : nullptr;
    return MakeEntry(path, true);
}

bool MatchesWildcard(const char *mask, const char *name) {
    if (*mask == '\0')
        return *name == '\0';
    if (*mask == '*')
        return MatchesWildcard(mask + 1, name) ||
               (*name != '\0' && MatchesWildcard(mask, name + 1));
    if (*name == '\0')
        return false;
    char m = *mask >= 'A' && *mask <= 'Z' ? static_cast<char>(*mask + 0x20) : *mask;
    char n = *name >= 'A' && *name <= 'Z' ? static_cast<char>(*name + 0x20) : *name;
    return (*mask == '?' || m == n) && MatchesWildcard(mask + 1, name + 1);
}

// DOS rules: "*.*" is every name, and "x.*" also matches "x".
bool MatchesMask(const std::string &mask, const std::string &name) {
    if (mask == "*.*" || MatchesWildcard(mask.c_str(), name.c_str()))
        return true;
    return mask.size() >= 2 && mask.compare(mask.size() - 2, 2, ".*") == 0 &&
           name.find('.') == std::string::npos &&
           MatchesWildcard(mask.substr(0, mask.size() - 2).c_str(), name.c_str());
}

DWORD ReportedAttributes(const Node &node) {
    DWORD attributes = node.attributes;
    if (node.folder)
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (!node.linkTarget.empty())
        attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    if (!node.folder && node.attributes == 0)
        attributes |= FILE_ATTRIBUTE_ARCHIVE;
    return attributes;
}

// Fills the record with the next entry of the search that still exists.
bool YieldNext(Search &search, LPWIN32_FIND_DATAA entry) {
    while (search.next < search.names.size()) {
        const std::string &key = search.names[search.next++];
        std::memset(entry, 0, sizeof(*entry));
        if (key == "." || key == "..") {
            entry->dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
            std::memcpy(entry->cFileName, key.c_str(), key.size() + 1);
            return true;
        }
        auto found = search.folder->children.find(key);
        if (found == search.folder->children.end())
            continue;
        const Node &node = *found->second;
        entry->dwFileAttributes = ReportedAttributes(node);
        entry->nFileSizeLow = static_cast<DWORD>(node.content.size());
        std::memcpy(entry->cFileName, node.name.c_str(), node.name.size() + 1);
        return true;
    }
    return false;
}

bool SearchIsOpenOn(const Node *folder) {
    return std::any_of(searches.begin(), searches.end(),
                       [folder](const auto &entry) { return entry.second->folder == folder; });
}

void Detach(Node *node) {
    node->parent->children.erase(detail::Lower(node->name));
}

void ListTree(const Node &folder, const std::string &prefix, std::vector<std::string> &paths) {
    for (const auto &entry : folder.children) {
        std::string path = prefix + "\\" + entry.second->name;
        paths.push_back(path);
        if (entry.second->folder && entry.second->linkTarget.empty())
            ListTree(*entry.second, path, paths);
    }
}

} // namespace

namespace detail {

void ResetFiles() {
    searches.clear();
    root = std::make_unique<Node>();
    root->name = "C:";
    root->folder = true;
    windowsDirectory = "C:\\WINDOWS";
    windowsDirectoryAnswer = WindowsDirectoryAnswer::Normal;
    MakeFolders(windowsDirectory);
}

int OpenSearchCount() {
    return static_cast<int>(searches.size());
}

bool ReadFileContent(const char *path, std::string *content) {
    Lookup lookup = Resolve(path, true, true);
    if (lookup.node == nullptr || lookup.node->folder) {
        SetLastErrorCode(lookup.node == nullptr ? lookup.error : ERROR_ACCESS_DENIED);
        return false;
    }
    *content = lookup.node->content;
    return true;
}

} // namespace detail

void SetWindowsDirectory(const std::string &path) {
    windowsDirectory = path;
    MakeFolders(path);
}

void SetWindowsDirectoryAnswer(WindowsDirectoryAnswer answer) {
    windowsDirectoryAnswer = answer;
}

void MakeFolder(const std::string &path) {
    MakeFolders(path);
}

void WriteFile(const std::string &path, const std::string &content, DWORD attributes) {
    Node *node = MakeEntry(path, false);
    if (node == nullptr)
        return;
    node->content = content;
    node->attributes = attributes;
}

void SetAttributes(const std::string &path, DWORD attributes) {
    Lookup lookup = Resolve(path, false, false);
    if (lookup.node != nullptr)
        lookup.node->attributes = attributes;
}

void SetInUse(const std::string &path, bool inUse) {
    Lookup lookup = Resolve(path, false, false);
    if (lookup.node != nullptr)
        lookup.node->inUse = inUse;
}

void MakeFolderLink(const std::string &path, const std::string &target) {
    Node *node = MakeEntry(path, true);
    if (node != nullptr)
        node->linkTarget = target;
}

void MakeFileLink(const std::string &path, const std::string &target) {
    Node *node = MakeEntry(path, false);
    if (node != nullptr)
        node->linkTarget = target;
}

bool Exists(const std::string &path) {
    return Resolve(path, false, false).node != nullptr;
}

std::vector<std::string> Tree(const std::string &rootPath) {
    std::vector<std::string> paths;
    Lookup lookup = Resolve(rootPath, false, false);
    if (lookup.node != nullptr && lookup.node->folder && lookup.node->linkTarget.empty())
        ListTree(*lookup.node, rootPath, paths);
    return paths;
}

std::string ReadFile(const std::string &path) {
    Lookup lookup = Resolve(path, true, false);
    return lookup.node == nullptr ? std::string() : lookup.node->content;
}

} // namespace sim

using namespace sim;
using namespace sim::detail;

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    if (Enter("GetWindowsDirectoryA", ""))
        return 0;
    switch (windowsDirectoryAnswer) {
    case WindowsDirectoryAnswer::Fails:
        Fail(ERROR_ACCESS_DENIED);
        return 0;
    case WindowsDirectoryAnswer::TooLong:
        return MAX_PATH + 40; // the size needed, and nothing written
    case WindowsDirectoryAnswer::Normal:
        break;
    }
    UINT length = static_cast<UINT>(windowsDirectory.size());
    if (size < length + 1)
        return length + 1;
    std::memcpy(buffer, windowsDirectory.c_str(), length + 1);
    return length;
}

HANDLE FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA entry) {
    if (Enter("FindFirstFileA", Shown(pattern)))
        return INVALID_HANDLE_VALUE;
    if (pattern == nullptr || entry == nullptr) {
        Fail(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::string text = pattern;
    if (text.size() >= MAX_PATH) {
        Fail(ERROR_FILENAME_EXCED_RANGE);
        return INVALID_HANDLE_VALUE;
    }
    size_t cut = text.find_last_of("\\/");
    if (cut == std::string::npos) {
        Fail(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::string mask = text.substr(cut + 1);
    Lookup folder = Resolve(cut == 2 ? text.substr(0, 3) : text.substr(0, cut), true, true);
    if (folder.node == nullptr || !folder.node->folder) {
        Fail(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    auto search = std::make_unique<Search>();
    search->folder = folder.node;
    search->next = 0;
    if (folder.node != root.get()) {
        for (const char *dots : {".", ".."})
            if (MatchesMask(mask, dots))
                search->names.push_back(dots);
    }
    for (const auto &child : folder.node->children)
        if (MatchesMask(mask, child.second->name))
            search->names.push_back(child.first);
    if (!YieldNext(*search, entry)) {
        Fail(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = search.get();
    searches.emplace(handle, std::move(search));
    return handle;
}

BOOL FindNextFileA(HANDLE handle, LPWIN32_FIND_DATAA entry) {
    if (Enter("FindNextFileA", ""))
        return FALSE;
    auto found = searches.find(handle);
    if (found == searches.end() || entry == nullptr) {
        Fail(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!YieldNext(*found->second, entry)) {
        Fail(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    Annotate(entry->cFileName);
    return TRUE;
}

BOOL FindClose(HANDLE handle) {
    bool reportFailure = Enter("FindClose", "");
    if (searches.erase(handle) == 0) {
        CountBadRelease();
        Fail(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return reportFailure ? FALSE : TRUE;
}

BOOL DeleteFileA(LPCSTR path) {
    if (Enter("DeleteFileA", Shown(path)))
        return FALSE;
    if (path == nullptr) {
        Fail(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lookup lookup = Resolve(path, false, true);
    if (lookup.node == nullptr) {
        Fail(lookup.error);
        return FALSE;
    }
    Node *node = lookup.node;
    if (node == root.get() || node->folder || (node->attributes & FILE_ATTRIBUTE_READONLY)) {
        Fail(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (node->inUse) {
        Fail(ERROR_SHARING_VIOLATION);
        return FALSE;
    }
    Detach(node);
    return TRUE;
}

BOOL RemoveDirectoryA(LPCSTR path) {
    if (Enter("RemoveDirectoryA", Shown(path)))
        return FALSE;
    if (path == nullptr) {
        Fail(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Lookup lookup = Resolve(path, false, true);
    if (lookup.node == nullptr) {
        Fail(lookup.error);
        return FALSE;
    }
    Node *node = lookup.node;
    if (!node->folder) {
        Fail(ERROR_DIRECTORY);
        return FALSE;
    }
    if (node == root.get() || (node->attributes & FILE_ATTRIBUTE_READONLY)) {
        Fail(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (node->linkTarget.empty()) {
        // A search open on the folder holds it, as a real search handle does.
        if (SearchIsOpenOn(node)) {
            Fail(ERROR_SHARING_VIOLATION);
            return FALSE;
        }
        if (!node->children.empty()) {
            Fail(ERROR_DIR_NOT_EMPTY);
            return FALSE;
        }
    }
    Detach(node);
    return TRUE;
}

HFILE OpenFile(LPCSTR path, LPOFSTRUCT record, UINT style) {
    if (Enter("OpenFile", Shown(path)))
        return HFILE_ERROR;
    if (path == nullptr || record == nullptr || style != OF_EXIST) {
        Fail(ERROR_INVALID_PARAMETER);
        return HFILE_ERROR;
    }
    std::memset(record, 0, sizeof(*record));
    record->cBytes = sizeof(*record);
    Lookup lookup = Resolve(path, true, true);
    DWORD error = lookup.node == nullptr ? lookup.error
                  : lookup.node->folder  ? ERROR_ACCESS_DENIED
                                         : ERROR_SUCCESS;
    if (error != ERROR_SUCCESS) {
        record->nErrCode = static_cast<WORD>(error);
        Fail(error);
        return HFILE_ERROR;
    }
    size_t length = std::min(std::strlen(path), sizeof(record->szPathName) - 1);
    std::memcpy(record->szPathName, path, length);
    return 1; // opened and closed again: nothing stays open
}
