// A test program that fails on purpose, for the self-test of the kit's runner
// in build.sh: one test passes and one fails, so the runner must count
// "1 passed, 1 failed" and end with a non-zero exit code. Never in the kit.
#include <gtest/gtest.h>

TEST(RunnerSelfTest, ThisOnePasses) {
    EXPECT_EQ(2 + 2, 4);
}

TEST(RunnerSelfTest, ThisOneFailsOnPurpose) {
    ADD_FAILURE() << "the failure the runner's self-test expects";
}
