#pragma once

#include "app/Velo.h"
#include "platform/SettingsUserDefaults.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace velo::test {

// Runs the velo command line as the program would, with its own folder and
// defaults, keeping what the last run printed.
class VeloCommandTest : public ::testing::Test {
  protected:
    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return runVelo({std::move(args), out, err, defaults});
    }

    TemporaryFolder folder;
    SettingsUserDefaults defaults{folder.path()};
    std::ostringstream out, err;
};

} // namespace velo::test
