// Access to the embedded assets from the tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "base/resource_store.h"

namespace assets_test {

// The resource's bytes; fails the test when the program does not hold it.
inline std::string Resource(std::string_view type, std::string_view name) {
  const auto bytes = wizard::FindEmbeddedResource(type, name);
  EXPECT_TRUE(bytes.has_value()) << type << " " << name;
  if (!bytes) return {};
  return std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size());
}

}  // namespace assets_test
