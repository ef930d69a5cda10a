// The model match: "Manufacturer" section -> model sections -> hardware-ID pattern.
#include "common/id_pair.h"
#include "common/match.h"
#include "common/text.h"
#include "inf/inf_cleanup.h"
#include "platform/win32_api.h"

namespace {

constexpr unsigned kPatternSize = 100;
constexpr unsigned kSectionNameSize = 64;
constexpr DWORD kSectionBufferSize = 1024;

// Reads a section and bounds it: whatever the count, the entries end at a zero inside the
// buffer, so no walk reads past it.
DWORD ReadSection(const char *section, char *buffer, const char *filePath) {
    DWORD count = GetPrivateProfileSectionA(section, buffer, kSectionBufferSize, filePath);
    if (count > kSectionBufferSize - 2)
        count = kSectionBufferSize - 2;
    buffer[count] = '\0';
    return count;
}

const char *FindByte(const char *text, char wanted) {
    for (; *text != '\0'; ++text)
        if (*text == wanted)
            return text;
    return nullptr;
}

bool ModelSectionMatches(char *pattern, char *section, DWORD count) {
    for (DWORD offset = 0; offset + 1 < count;) {
        char *entry = section + offset;
        offset += TextLength(entry) + 1;
        if (entry[0] != ';' && MatchesNoCase(pattern, entry))
            return true;
    }
    return false;
}

void DeleteInfAndCompanion(char *filePath) {
    DeleteFileTraced(filePath);
    LowerCaseInPlace(filePath);
    char companionPath[MAX_PATH];
    if (!CopyText(companionPath, sizeof companionPath, filePath))
        return;
    // A path without ".inf" has no companion to name.
    char *extension = FindInText(companionPath, ".inf");
    if (extension == nullptr)
        return;
    const char pnf[] = ".pnf";
    for (unsigned i = 0; i < sizeof pnf; ++i)
        extension[i] = pnf[i];
    DeleteFileTraced(companionPath);
}

} // namespace

void RemoveInfIfModelMatches(const char *product, const char *vendor, char *filePath) {
    char pattern[kPatternSize];
    if (!FormatIdPairPattern(pattern, sizeof pattern, "vid_%s&pid_%s", product, vendor))
        return;
    char manufacturer[kSectionBufferSize];
    DWORD manufacturerCount = ReadSection("Manufacturer", manufacturer, filePath);
    for (DWORD offset = 0; offset + 1 < manufacturerCount;) {
        const char *entry = manufacturer + offset;
        offset += TextLength(entry) + 1;
        const char *equals = entry[0] == ';' ? nullptr : FindByte(entry, '=');
        if (equals == nullptr)
            continue;
        char sectionName[kSectionNameSize];
        // A name too long for the buffer cannot be looked up; the entry is passed over.
        if (!CopyText(sectionName, sizeof sectionName, equals + 1))
            continue;
        char model[kSectionBufferSize];
        DWORD modelCount = ReadSection(sectionName, model, filePath);
        // A missing or empty model section ends the examination of the file.
        if (modelCount == 0)
            return;
        if (ModelSectionMatches(pattern, model, modelCount)) {
            DeleteInfAndCompanion(filePath);
            return;
        }
    }
}
