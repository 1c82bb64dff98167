// Fuzzes the INI parser and editor: any bytes parse, every query and edit is safe, and a written
// value always reads back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Platform::IniDocument document(text);
    const auto sections = document.SectionNames();
    for (const std::string& section : sections) {
        for (const std::string& key : document.KeyNames(section)) {
            document.GetValue(section, key);
        }
    }
    if (!sections.empty()) {
        document.SetValue(sections.front(), "fuzz", "value");
        if (document.GetValue(sections.front(), "fuzz") != "value") {
            __builtin_trap();
        }
        document.DeleteSection(sections.back());
    }
    Platform::IniDocument reparsed(document.ToText());
    char block[16];
    Platform::DecodeProfileStruct(text.substr(0, 34), block, sizeof(block));
    return 0;
}
