#include "FileErrorCause.h"

#include <gtest/gtest.h>

namespace {

void ExpectCause(std::initializer_list<unsigned long> systemErrors, int cause) {
    for (unsigned long systemError : systemErrors) {
        EXPECT_EQ(FileErrorCause(systemError), cause) << "system error " << systemError;
    }
}

} // namespace

TEST(FileErrorCause, no_error_is_cause_0) {
    ExpectCause({0}, filecause::kNone);
}

TEST(FileErrorCause, an_existing_target_reads_as_access_denied) {
    // ERROR_ALREADY_EXISTS and ERROR_FILE_EXISTS: the overwrite question follows.
    ExpectCause({183, 80}, filecause::kAccessDenied);
}

TEST(FileErrorCause, missing_file_and_missing_folder) {
    ExpectCause({2, 18}, filecause::kFileNotFound);
    ExpectCause({3, 15, 17, 34, 53, 67, 123, 161, 206, 267}, filecause::kBadPath);
}

TEST(FileErrorCause, each_cause_has_its_system_errors) {
    ExpectCause({4, 36}, filecause::kTooManyOpenFiles);
    ExpectCause({5, 12, 19, 65}, filecause::kAccessDenied);
    ExpectCause({6, 11, 26}, filecause::kInvalidFile);
    ExpectCause({16, 145}, filecause::kRemoveCurrentDirectory);
    ExpectCause({82}, filecause::kDirectoryFull);
    ExpectCause({24, 25, 131, 132}, filecause::kBadSeek);
    ExpectCause({20, 21, 22, 23, 27, 29, 30, 31, 1117}, filecause::kHardwareError);
    ExpectCause({32}, filecause::kSharingViolation);
    ExpectCause({33, 108, 167}, filecause::kLockViolation);
    ExpectCause({39, 112}, filecause::kDiskFull);
    ExpectCause({38}, filecause::kEndOfFile);
}

TEST(FileErrorCause, unknown_system_errors_are_unspecified) {
    ExpectCause({1, 8, 87, 1450, 0xFFFFFFFFul}, filecause::kUnspecified);
}
