// What the platform and core tests share: the platform with its test hooks, temporary data files
// and the engine's names.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/platform_testing.h"
#include "support/test_files.h"

using namespace tessera;
