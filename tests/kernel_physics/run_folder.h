// A test fixture for kernel runs that write files: each test runs in a fresh folder of its own (named
// after the test, with a random token) with the diagnostic log "DIAG.TXT" open on unit 9, and the
// run's random state is restored at its end.
#ifndef QR4T_TESTS_KERNEL_PHYSICS_RUN_FOLDER_H
#define QR4T_TESTS_KERNEL_PHYSICS_RUN_FOLDER_H

#include "tests/kernel/kernel_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

class KernelRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A token of its own in the name: test runs of other builds on the same machine use the same
        // test names, and one run's clean-up would delete the log that another is writing.
        dir_ =
            std::filesystem::temp_directory_path() /
            ("qr4t_kernel_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
             "_" + std::to_string(std::random_device{}()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        log_ = std::make_unique<DiagLog>();
    }
    void TearDown() override
    {
        log_.reset();
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(dir_);
    }
    RandomGuard random_;
    std::unique_ptr<DiagLog> log_;
    std::filesystem::path dir_, old_;
};

#endif
