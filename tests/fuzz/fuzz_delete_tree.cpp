// DeleteFolderTree over generated trees: long and odd names, deep nesting, links that lead
// out of the tree. Nothing outside the tree may change, and exactly the entries whose formed
// paths fit are removed.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <map>
#include <string>
#include <vector>

#include "folders/delete_tree.h"
#include "platform/sim/sim_control.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

enum class Kind { Folder, File, FolderLink, FileLink };

struct Entry {
    std::string realPath;
    std::string formedPath; // the path DeleteFolderTree forms: a period after each sub-folder
    Kind kind;
    int parent;            // index into the entries, -1 for the top folder
    bool searched = false; // folders: their search is made
};

const char kTop[] = "C:\\HB\\K582T";

// A name Windows can hold: no separators or wildcards, not ending in a period or a space.
std::string Name(ByteReader &reader, size_t index) {
    static const char alphabet[] = "abcXYZ019 .-_~!#$%&'()+,;=@[]^{}\x80\xE9\xFF";
    size_t length = reader.Byte();
    if (reader.Byte() & 1u)
        length = length % 8; // mostly short names, so that trees get deep
    std::string name;
    for (size_t i = 0; i < length; ++i)
        name += alphabet[reader.Byte() % (sizeof alphabet - 1)];
    // Unique, and ending in a character that is kept.
    return name.substr(0, 240) + "n" + std::to_string(index);
}

std::map<std::string, std::string> Snapshot(const std::string &root) {
    std::map<std::string, std::string> files;
    for (const std::string &path : sim::Tree(root))
        files[path] = sim::ReadFile(path);
    return files;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ByteReader reader(data, size);
    sim::Reset();
    sim::WriteFile("C:\\Outside\\a.txt", "a");
    sim::WriteFile("C:\\Outside\\sub\\b.txt", "b");
    sim::MakeFolder(kTop);
    sim::WriteFile("C:\\HB\\K582T2\\sibling.txt", "s");
    std::vector<Entry> entries;
    for (size_t i = 0; i < 64 && !reader.Empty(); ++i) {
        // Place the entry in the top folder or in a folder made earlier.
        int parent = -1;
        uint8_t where = reader.Byte();
        if (where != 0) {
            for (size_t back = entries.size(); back-- > 0;)
                if (entries[back].kind == Kind::Folder && where-- == 1) {
                    parent = static_cast<int>(back);
                    break;
                }
        }
        Entry entry;
        entry.kind = static_cast<Kind>(reader.Byte() % 4);
        entry.parent = parent;
        std::string name = Name(reader, i);
        const std::string &realParent = parent < 0 ? kTop : entries[parent].realPath;
        const std::string &formedParent = parent < 0 ? kTop : entries[parent].formedPath;
        entry.realPath = realParent + "\\" + name;
        entry.formedPath = formedParent + "\\" + name + (entry.kind == Kind::Folder ? "." : "");
        switch (entry.kind) {
        case Kind::Folder:
            sim::MakeFolder(entry.realPath);
            break;
        case Kind::File:
            sim::WriteFile(entry.realPath, name, reader.Byte() & 6u);
            break;
        case Kind::FolderLink:
            sim::MakeFolderLink(entry.realPath,
                                reader.Byte() & 1u ? "C:\\Outside" : "C:\\Outside\\sub");
            break;
        case Kind::FileLink:
            sim::MakeFileLink(entry.realPath, "C:\\Outside\\a.txt");
            break;
        }
        entries.push_back(entry);
    }
    const auto outside = Snapshot("C:\\Outside");

    DeleteFolderTree(kTop);

    Require(Snapshot("C:\\Outside") == outside, "nothing outside the tree changed");
    Require(sim::Exists("C:\\HB\\K582T2\\sibling.txt"), "sibling folder untouched");
    sim::Resources open = sim::OpenResources();
    Require(open.openSearches == 0 && open.badReleases == 0, "searches released");

    // The oracle: a folder is searched when its parent is and both its own path and its
    // search pattern fit; any other entry goes when its parent is searched and its path fits.
    auto fits = [](const std::string &path) { return path.size() < MAX_PATH; };
    bool topSearched = fits(std::string(kTop) + "\\*.*");
    std::vector<bool> gone(entries.size(), false);
    for (size_t i = 0; i < entries.size(); ++i) {
        Entry &entry = entries[i];
        bool parentSearched = entry.parent < 0 ? topSearched : entries[entry.parent].searched;
        if (entry.kind == Kind::Folder)
            entry.searched =
                parentSearched && fits(entry.formedPath) && fits(entry.formedPath + "\\*.*");
        else
            gone[i] = parentSearched && fits(entry.formedPath);
    }
    // Folders go when they were visited and all they held went, deepest first.
    for (size_t i = entries.size(); i-- > 0;) {
        if (entries[i].kind != Kind::Folder)
            continue;
        bool parentSearched =
            entries[i].parent < 0 ? topSearched : entries[entries[i].parent].searched;
        bool empty = true;
        for (size_t j = i + 1; j < entries.size(); ++j)
            if (entries[j].parent == static_cast<int>(i) && !gone[j])
                empty = false;
        gone[i] = parentSearched && fits(entries[i].formedPath) && empty;
    }
    for (size_t i = 0; i < entries.size(); ++i)
        Require(sim::Exists(entries[i].realPath) == !gone[i], "exactly the reachable entries go");
    return 0;
}
