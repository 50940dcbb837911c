// What the command tests and the fault sweep share: answers to the save's
// questions, a catalogue row, and a key's subkey names.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/adapter_commands.h"
#include "tests/support/fake_plugins.h"

namespace veldra {

using veldra_test::FakeLoader;

class Prompts : public SavePrompts {
 public:
  bool ConfirmUpdate(AdapterNumber number) override {
    asked.push_back(number);
    return answer;
  }
  void RestartNotice() override { ++notices; }
  bool answer = true;
  std::vector<AdapterNumber> asked;
  int notices = 0;
};

inline void AddType(RegistryStore& store, const char* name, std::uint32_t physical,
                    const char* configDll = "None") {
  Key key =
      Key::Root(store).Open((std::string(kCatalogPath) + kServiceName + "\\" + name).c_str(), Access::All);
  ASSERT_TRUE(key);
  key.WriteString("ConfigDll", configDll);
  if (physical != 0) key.WriteDword("Physical", physical);
}

inline std::vector<std::string> Names(const Key& key) {
  std::vector<std::string> names;
  key.ForEachSubkey([&](std::uint32_t, const char* name) {
    names.push_back(name);
    return true;
  });
  return names;
}

}  // namespace veldra
