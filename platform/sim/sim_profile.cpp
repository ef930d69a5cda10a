// GetPrivateProfileSectionA of the simulated Windows: the INI reader as setup information
// files meet it. Lines are trimmed, spaces around the first "=" dropped, comment lines
// delivered like any other, UTF-16 files (with their byte-order mark) read as ANSI, and a
// section that does not fit is cut so that the buffer still ends in two zeros.
#include <cstring>

#include "platform/sim/sim_internal.h"

namespace {

std::string Decoded(const std::string &raw) {
    std::string text;
    if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF &&
        static_cast<unsigned char>(raw[1]) == 0xFE) {
        for (size_t i = 2; i + 1 < raw.size(); i += 2) {
            unsigned code = static_cast<unsigned char>(raw[i]) |
                            (static_cast<unsigned>(static_cast<unsigned char>(raw[i + 1])) << 8);
            text += code < 0x100 ? static_cast<char>(code) : '?';
        }
    } else if (raw.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text = raw.substr(3);
    } else {
        text = raw;
    }
    std::string withoutZeros;
    for (char c : text)
        if (c != '\0')
            withoutZeros += c;
    return withoutZeros;
}

std::string Trimmed(const std::string &text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> SectionEntries(const std::string &text, const std::string &section) {
    std::vector<std::string> entries;
    bool inSection = false;
    bool sectionSeen = false;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            std::string name =
                Trimmed(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            // Only the first section of that name is read.
            inSection = !sectionSeen && sim::detail::Lower(name) == sim::detail::Lower(section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection)
            continue;
        size_t equals = line.find('=');
        if (equals != std::string::npos)
            line = Trimmed(line.substr(0, equals)) + "=" + Trimmed(line.substr(equals + 1));
        entries.push_back(line);
    }
    return entries;
}

} // namespace

using namespace sim::detail;

DWORD GetPrivateProfileSectionA(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR file) {
    if (Enter("GetPrivateProfileSectionA", Shown(section) + " in " + Shown(file)))
        return 0;
    if (buffer == nullptr || size == 0)
        return 0;
    buffer[0] = '\0';
    if (size < 2)
        return 0;
    buffer[1] = '\0';
    std::string content;
    if (section == nullptr || file == nullptr || !ReadFileContent(file, &content))
        return 0;
    DWORD written = 0;
    for (const std::string &entry : SectionEntries(Decoded(content), section)) {
        // Room for this entry, its zero, and the final zero.
        if (written + entry.size() + 2 > size) {
            // A full buffer (the last entry's zero already at size - 2) takes nothing more.
            if (written < size - 2)
                std::memcpy(buffer + written, entry.data(), size - 2 - written);
            buffer[size - 2] = '\0';
            buffer[size - 1] = '\0';
            return size - 2;
        }
        std::memcpy(buffer + written, entry.c_str(), entry.size() + 1);
        written += static_cast<DWORD>(entry.size() + 1);
    }
    buffer[written] = '\0';
    return written;
}
