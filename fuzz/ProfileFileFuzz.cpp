// The profile file itself, as a hand edit or another tool may leave it. The
// store reads the plain form it writes with its own parser and anything else
// through QSettings. Where its own parser takes a file, QSettings must read
// the same values from it; whatever it read, what it writes back must read
// again as the same values. Through the application's store, the records and
// groups load from the file, and a write keeps every other value.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "mail/MailSetInfo.h"
#include "settings/AlertSetInfo.h"
#include "settings/CommSetInfo.h"
#include "settings/GeneralSetInfo.h"
#include "settings/Groups.h"
#include "settings/IniDocument.h"
#include "settings/ProfileStore.h"
#include "settings/Value.h"
#include "settings/ViewSortInfo.h"

namespace {

// The sections the console can name: every plain one and the general one.
std::vector<std::string> Sections(const CIniDocument& document) {
    std::vector<std::string> sections = document.SectionNames();
    sections.push_back("");
    return sections;
}

bool SameValues(const CIniDocument& a, const CIniDocument& b) {
    if (a.SectionNames() != b.SectionNames())
        return false;
    for (const std::string& section : Sections(a)) {
        if (a.ValueNames(section) != b.ValueNames(section))
            return false;
        for (const std::string& name : a.ValueNames(section))
            if (!(*a.Find(section, name) == *b.Find(section, name)))
                return false;
    }
    return true;
}

// As the store reads a file: its own parser, else QSettings'.
CIniDocument ReadAsTheStore(std::string_view file) {
    CIniDocument document;
    if (!document.Parse(file))
        document.ParseLeniently(file);
    return document;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void LoadEverything() {
    CGeneralSetInfo().Load();
    CCommSetInfo().Load();
    CAlertSetInfo().Load();
    CViewSortInfo().Load();
    CMailSetInfo().Load();
    GroupList groups;
    LoadGroups(groups, "All");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);

    CIniDocument plain, lenient;
    const bool isPlain = plain.Parse(file);
    lenient.ParseLeniently(file);
    if (isPlain)
        FuzzCheck(SameValues(plain, lenient), "a file in the plain form means to QSettings what it means to us");
    const CIniDocument& read = isPlain ? plain : lenient;
    FuzzCheck(SameValues(read, ReadAsTheStore(read.Serialize())), "what the store writes reads back as it held it");

    FreshProfile();
    std::ofstream(FuzzProfilePath(), std::ios::binary).write(file.data(), std::streamsize(file.size()));
    LoadEverything();
    CValue().SetSelectGroup(1);
    CIniDocument expected = read;
    expected.Set("Settings", "SelectGroup", CIniDocument::Text("1"));
    FuzzCheck(SameValues(expected, ReadAsTheStore(FileText(FuzzProfilePath()))), "a write keeps every other value");
    return 0;
}
