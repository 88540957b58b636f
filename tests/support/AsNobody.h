#pragma once

#include <string>

namespace vemurion::test {

// Root passes every permission test, so a test of what an ordinary user may not do cannot run
// as root. Such a test starts with
//
//     if (const auto run = test::rerunAsNobody(); run.rerun) {
//         if (!run.ran) GTEST_SKIP() << run.why;
//         return;
//     }
//
// As root, the current test is run again in a copy of this test binary as the user nobody
// (through setpriv); its failures are reported here. For any other user `rerun` is false and the
// test goes on in this process.
struct NobodyRun {
    bool rerun = false;
    bool ran = false;
    std::string why; // why it could not run as nobody
};
NobodyRun rerunAsNobody();

} // namespace vemurion::test
