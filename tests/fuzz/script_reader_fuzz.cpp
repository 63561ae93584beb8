// libFuzzer harness: any bytes as a setup script. The reader must never crash, and what it
// lists must agree with what it looks up.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "install/script_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const ScriptReader script(text);
  for (const char* section : {"General", "programfiles", "Windows", "Items", "", "GENERAL"}) {
    script.HasSection(section);
    script.RepeatedHeaderLine(section);
    for (const ScriptEntry& entry : script.Section(section)) {
      if (entry.value.size() > 1023 || entry.line < 1) std::abort();
      const auto found = script.Find(section, entry.key);
      if (found && found->value != entry.value) std::abort();
    }
    script.Find(section, "Name");
    script.Find(section, "1");
  }
  return 0;
}
