#include "platform/IntelHex.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "support/FileText.h"

namespace kestrum {
namespace {

TEST(IntelHex, ReadsDataRecordsWithExtendedAddresses) {
    const std::string text =
        ":0300300002337A1E\r\n"
        ":020000040001F9\n"
        ":02000000ABCD86\r\n"
        "\r\n"
        ":00000001FF\r\n";
    FirmwareImage image;
    ASSERT_TRUE(ParseIntelHex(text, image));
    ASSERT_EQ(image.blocks.size(), 2u);
    EXPECT_EQ(image.blocks[0].address, 0x30u);
    EXPECT_EQ(image.blocks[0].data, (std::vector<uint8_t>{0x02, 0x33, 0x7A}));
    EXPECT_EQ(image.blocks[1].address, 0x10000u);
    EXPECT_EQ(image.blocks[1].data, (std::vector<uint8_t>{0xAB, 0xCD}));
}

TEST(IntelHex, RejectsMalformedFiles) {
    const char* bad[] = {
        "",                                      // nothing at all
        ":0300300002337A1E\r\n",                 // no end-of-file record
        ":0300300002337A1F\r\n:00000001FF\r\n",  // checksum off by one
        ":0400300002337A1E\r\n:00000001FF\r\n",  // count says more bytes than there are
        "0300300002337A1E\r\n:00000001FF\r\n",   // no colon
        ":03003000023G7A1E\r\n:00000001FF\r\n",  // not a hex digit
        ":0000000AF6\r\n:00000001FF\r\n",        // unknown record type
        ":00000001FF\r\n:0300300002337A1E\r\n",  // data after the end
        ":0300300002337A1\r\n:00000001FF\r\n",   // odd number of digits
    };
    for (const char* text : bad) {
        FirmwareImage image;
        EXPECT_FALSE(ParseIntelHex(text, image)) << text;
    }
}

TEST(IntelHex, TheShippedFirmwareIsWellFormed) {
    const std::string text = test::ReadFileBytes(KESTRUM_TEST_FIRMWARE);
    ASSERT_FALSE(text.empty());
    FirmwareImage image;
    ASSERT_TRUE(ParseIntelHex(text, image));
    EXPECT_FALSE(image.blocks.empty());
}

}  // namespace
}  // namespace kestrum
