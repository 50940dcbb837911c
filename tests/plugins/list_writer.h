// What the test plug-ins share: the value-list builder, and the key's Marker.
#pragma once

#include <windows.h>

#include "tests/support/value_list_builder.h"

using veldra_test::ListBuilder;

// Copies the key's Marker string into the list, or "(none)": lets the test
// see which key the plug-in was handed and that the handle was usable.
inline ListBuilder& EchoMarker(ListBuilder& list, HKEY key) {
  char text[128];
  DWORD size = sizeof text, type = 0;
  if (RegQueryValueExA(key, "Marker", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ || size == 0 || text[size - 1] != '\0')
    std::strcpy(text, "(none)");
  return list.Sz("Marker", text);
}
