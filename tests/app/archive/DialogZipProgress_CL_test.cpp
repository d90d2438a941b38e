// What the user is told after an unpack that did not succeed: cancelled, or failed with the
// reason the entry gave.

#include <gtest/gtest.h>

#include "app/archive/DialogZipProgress_CL.h"

namespace {

ZipCentralRecord Record(uint16_t flags, uint16_t method, uint32_t size = 100) {
    ZipCentralRecord record;
    record.flags = flags;
    record.method = method;
    record.compressedSize = size;
    record.uncompressedSize = size;
    return record;
}

TEST(ZipResultText, CancelOrFailureWithTheReasonOfTheEntry) {
    const std::wstring failed = DialogZipProgress_CL::kFailedText;
    const std::wstring line = L"\r\n";
    const struct {
        int result;
        ZipCentralRecord record;
        std::wstring text;
    } cases[] = {
        {Zip_CL::kExtractCancelled, Record(0, 8), DialogZipProgress_CL::kCancelledText},
        {Zip_CL::kExtractBadData, Record(kZipFlagEncrypted, 8), failed + line + DialogZipProgress_CL::kEncryptedReason},
        {Zip_CL::kExtractBadData, Record(0, 12), failed + line + DialogZipProgress_CL::kMethodReason},
        {Zip_CL::kExtractBadData, Record(0, 8, kZip64Marker), failed + line + DialogZipProgress_CL::kMethodReason},
        {Zip_CL::kExtractBadData, Record(0, 8), failed + line + DialogZipProgress_CL::kBrokenReason},
        {Zip_CL::kExtractNoLocalRecord, Record(0, 0), failed + line + DialogZipProgress_CL::kBrokenReason},
        // The destination or the system at fault, not the entry: no second line.
        {Zip_CL::kExtractReadWriteFailed, Record(0, 8), failed},
        {Zip_CL::kExtractInflateInitFailed, Record(0, 8), failed},
    };
    for (const auto& c : cases) EXPECT_EQ(DialogZipProgress_CL::ResultText(c.result, c.record), c.text) << c.result;
}

}  // namespace
