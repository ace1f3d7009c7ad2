#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/Folders.h"
#include "platform/ByteSource.h"
#include "regmap/RegMapStuff.h"
#include "regmap/SettingsFile.h"
#include "regmap/SettingsReader.h"
#include "support/Fixture.h"

namespace kestrum {
namespace {

using Writes = std::vector<std::pair<int32_t, int32_t>>;

struct Recalled {
    RecallResult result;
    Writes writes;
};

Recalled RecallFrom(ByteSource& source) {
    Recalled recalled;
    recalled.result =
        RecallSettings(source, [&](int32_t reg, int32_t value) { recalled.writes.emplace_back(reg, value); });
    return recalled;
}

// Hands out a byte at a time, as a file far larger than the reader's buffer would at every
// refill, so that no place in a line is spared one.
class TricklingSource final : public ByteSource {
public:
    explicit TricklingSource(std::string_view bytes) : inner_(bytes) {}
    std::size_t Read(std::span<char> buffer) override { return inner_.Read(buffer.first(1)); }

private:
    MemorySource inner_;
};

// The bytes in memory, and again a byte at a time: the two must read alike.
Recalled Recall(std::string_view bytes) {
    MemorySource whole(bytes);
    const Recalled recalled = RecallFrom(whole);
    TricklingSource trickle(bytes);
    const Recalled trickled = RecallFrom(trickle);
    EXPECT_EQ(trickled.result.outcome, recalled.result.outcome);
    EXPECT_EQ(trickled.result.written, recalled.result.written);
    EXPECT_EQ(trickled.writes, recalled.writes);
    return recalled;
}

TEST(SettingsReaderTest, CharacterPrimitives) {
    MemorySource bytes("ab}A\t4Cz");
    SettingsReader reader(bytes);
    EXPECT_EQ(reader.ReadChar(), 'a');
    EXPECT_EQ(reader.ReadChar(1), 'b');
    EXPECT_TRUE(reader.IsEndOfFile());
    EXPECT_EQ(reader.ReadByte(), 0xA);   // "A" then TAB
    EXPECT_EQ(reader.ReadByte(), 0x4C);  // exactly two characters: the "z" stays
    EXPECT_FALSE(reader.AtEnd());
    EXPECT_FALSE(reader.IsEndOfFile());
    EXPECT_TRUE(reader.AtEnd());
    // At the end nothing more is read, and nothing is found.
    EXPECT_EQ(reader.ReadChar(), '\0');
    EXPECT_FALSE(reader.IsEndOfFile());
    EXPECT_EQ(reader.ReadByte(), 0);

    MemorySource shortBytes("zz5");
    SettingsReader shortTail(shortBytes);
    EXPECT_EQ(shortTail.ReadByte(), 0);  // no hex digit
    EXPECT_EQ(shortTail.ReadByte(), 5);  // one character left
    EXPECT_TRUE(shortTail.AtEnd());

    // A byte whose digits come in two reads of the source is read as one.
    TricklingSource split("x4C\tz");
    SettingsReader splitReader(split);
    EXPECT_EQ(splitReader.ReadChar(), 'x');
    EXPECT_EQ(splitReader.ReadByte(), 0x4C);
    EXPECT_EQ(splitReader.ReadChar(5), 'z');  // what was left
    EXPECT_TRUE(splitReader.AtEnd());
}

TEST(SettingsReaderTest, RegisterLinesAsPeopleWriteThem) {
    // Hand-written, LF only, with text behind the value that even holds an "x".
    Recalled hand = Recall("{\n0x4C\t0xA4 max fan x\n}\n");
    EXPECT_EQ(hand.result.outcome, RecallOutcome::Complete);
    EXPECT_EQ(hand.writes, (Writes{{0x4C, 0xA4}}));
    EXPECT_EQ(hand.result.written, 1);

    // One digit is read together with the TAB behind it; zero is "0x0".
    Recalled digits = Recall("{\r\n0xA\t0x5\t // GPIO2_Bhvr\r\n0x3\t0x0\t // Configuration 3\r\n}\r\n");
    EXPECT_EQ(digits.result.outcome, RecallOutcome::Complete);
    EXPECT_EQ(digits.writes, (Writes{{0xA, 0x5}, {0x3, 0x0}}));

    // The reader starts after a brace in the comment and skips the rest of that line.
    const std::string withBraceComment =
        "Kestrum Evaluation Software\r\n\r\nComment : fan {x3} test\r\n\r\nAddress\tData\tRegister\r\n{\r\n"
        "0x21\t0x11\t // PWM1 Config\r\n}\r\n";
    Recalled braces = Recall(withBraceComment);
    EXPECT_EQ(braces.result.outcome, RecallOutcome::Complete);
    EXPECT_EQ(braces.writes, (Writes{{0x21, 0x11}}));

    // The closing brace needs no line feed of its own; lines are written in file order.
    Recalled twice = Recall("{\r\n0x45\t0x3C\t // a\r\n0x45\t0x3C\t // b\r\n}");
    EXPECT_EQ(twice.result.outcome, RecallOutcome::Complete);
    EXPECT_EQ(twice.writes, (Writes{{0x45, 0x3C}, {0x45, 0x3C}}));
}

TEST(SettingsReaderTest, TruncatedAndJunkFilesEndWithTheirWritesKept) {
    struct Case {
        std::string name;
        std::string bytes;
        RecallOutcome outcome;
        Writes writes;
    };
    const std::string binary("\x00\xff\x7f\x80\x01\x02{", 6);  // the brace is cut off
    const std::vector<Case> cases = {
        {"empty", "", RecallOutcome::NoOpeningBrace, {}},
        {"binary", binary, RecallOutcome::NoOpeningBrace, {}},
        {"header only", "Tarnwell Silicon\r\nComment : x\r\n", RecallOutcome::NoOpeningBrace, {}},
        {"brace only", "{", RecallOutcome::EndedBeforeClosingBrace, {}},
        {"no closing brace",
         "{\r\n0x1\t0x2\t // a\r\n0x3\t0x4\t // b\r\n",
         RecallOutcome::EndedBeforeClosingBrace,
         {{1, 2}, {3, 4}}},
        {"last line without line feed",
         "{\r\n0x1\t0x2\r\n0x3\t0x4",
         RecallOutcome::EndedBeforeClosingBrace,
         {{1, 2}}},
        {"cut after the register", "{\r\n0x4C", RecallOutcome::EndedBeforeClosingBrace, {}},
        {"cut after the value's x", "{\r\n0x4C\t0x", RecallOutcome::EndedBeforeClosingBrace, {}},
        {"no x at all", "{\r\nabc\r\ndef\r\n", RecallOutcome::EndedBeforeClosingBrace, {}},
        {"binary after the brace",
         std::string("{\n\x00x\xff\tx\x01\x02\n\x00", 11),
         RecallOutcome::EndedBeforeClosingBrace,
         {{0, 0}}},
    };
    for (const Case& c : cases) {
        const Recalled recalled = Recall(c.bytes);
        EXPECT_EQ(recalled.result.outcome, c.outcome) << c.name;
        EXPECT_EQ(recalled.writes, c.writes) << c.name;
        EXPECT_EQ(recalled.result.written, static_cast<int>(c.writes.size())) << c.name;
    }
}

// A made-up file of any length, produced as it is read: pieces, each repeated.
class GeneratedSource final : public ByteSource {
public:
    struct Piece {
        std::string text;
        std::size_t times;
    };
    explicit GeneratedSource(std::vector<Piece> pieces) : pieces_(std::move(pieces)) {}

    std::size_t Read(std::span<char> buffer) override {
        largestRequest = std::max(largestRequest, buffer.size());
        std::size_t count = 0;
        while (count < buffer.size() && piece_ < pieces_.size()) {
            const Piece& piece = pieces_[piece_];
            if (repeat_ == piece.times) {
                ++piece_;
                repeat_ = offset_ = 0;
                continue;
            }
            const std::size_t n = std::min(buffer.size() - count, piece.text.size() - offset_);
            std::copy_n(piece.text.begin() + static_cast<std::ptrdiff_t>(offset_), n, buffer.begin() + count);
            count += n;
            offset_ += n;
            if (offset_ == piece.text.size()) {
                offset_ = 0;
                ++repeat_;
            }
        }
        delivered += count;
        return count;
    }

    std::size_t largestRequest = 0;
    std::size_t delivered = 0;  // bytes handed out so far

private:
    std::vector<Piece> pieces_;
    std::size_t piece_ = 0;
    std::size_t repeat_ = 0;
    std::size_t offset_ = 0;
};

TEST(SettingsReaderTest, LargeFileStreamsThroughASmallBuffer) {
    constexpr std::size_t kFew = 64 * 1024;  // "a few kilobytes", generously
    const std::string filler = std::string(98, '-') + "\r\n";
    constexpr std::size_t kFillerLines = 100'000;  // 10 MB before and 10 MB after
    const std::string firstLine = "{\r\n0x4C\t0xA4\t // a\r\n";
    const std::string rest = "0x01\t0x21\t // b\r\n}\r\n";
    GeneratedSource source(
        {{"Comment : ", 1}, {filler, kFillerLines}, {firstLine, 1}, {rest, 1}, {filler, kFillerLines}});
    const std::size_t firstLineEnd = 10 + filler.size() * kFillerLines + firstLine.size();
    const std::size_t closingBraceEnd = firstLineEnd + rest.size();

    std::vector<std::size_t> deliveredAtWrite;
    Writes writes;
    const RecallResult result = RecallSettings(source, [&](int32_t reg, int32_t value) {
        writes.emplace_back(reg, value);
        deliveredAtWrite.push_back(source.delivered);
    });

    EXPECT_EQ(result.outcome, RecallOutcome::Complete);
    EXPECT_EQ(writes, (Writes{{0x4C, 0xA4}, {0x01, 0x21}}));
    // Never more than a buffer-full asked for, the first register written as soon as its line
    // has come in, and nothing read far beyond the closing brace.
    EXPECT_LE(source.largestRequest, kFew);
    ASSERT_EQ(deliveredAtWrite.size(), 2u);
    EXPECT_LE(deliveredAtWrite[0], firstLineEnd + kFew);
    EXPECT_LE(source.delivered, closingBraceEnd + kFew);
}

TEST(SettingsReaderTest, ReportsTellWhatHappened) {
    EXPECT_EQ(RecallReport({RecallOutcome::Complete, 120}), "");
    EXPECT_EQ(RecallReport({RecallOutcome::EndedBeforeClosingBrace, 12}),
              "The file ended before its closing \"}\": 12 registers were written.");
    EXPECT_EQ(RecallReport({RecallOutcome::EndedBeforeClosingBrace, 1}),
              "The file ended before its closing \"}\": 1 register was written.");
    EXPECT_NE(RecallReport({RecallOutcome::NoOpeningBrace, 0}).find("no registers were written"),
              std::string::npos);
}

class SettingsWriterTest : public test::KestrumTest {
protected:
    void SetUp() override {
        KestrumTest::SetUp();
        InitRegisterTable();
        // The PWM values follow the automatic fan control; hold them at their defaults.
        for (uint8_t reg = 0xAA; reg <= 0xAD; ++reg) Chip().Poke(reg, 0);
    }
};

TEST_F(SettingsWriterTest, RegisterLineAndHeaderLayout) {
    EXPECT_EQ(RegisterLine(0x0A, 0x05, "GPIO2_Bhvr"), "0xA\t0x5\t // GPIO2_Bhvr\r\n");
    EXPECT_EQ(RegisterLine(0x21, 0x11, "PWM1 Config"), "0x21\t0x11\t // PWM1 Config\r\n");
    EXPECT_EQ(RegisterLine(0x00, 0x00, "Configuration 0"), "0x0\t0x0\t // Configuration 0\r\n");

    clock.dateText = "2026-03-01";
    clock.timeText = "7:05:09 PM";
    EXPECT_EQ(SettingsFileHeader("   two  words "),
              "Tarnwell Silicon\r\nKestrum Evaluation Software\r\n\r\nSaved: 2026-03-01 at 7:05:09 PM\r\n\r\n"
              "Comment : two  words\r\n\r\n");
}

TEST_F(SettingsWriterTest, OnlyChangedRegistersAreSavedWhenAsked) {
    EXPECT_EQ(SettingsFileRegisters(true), "Address\tData\tRegister\r\n{\r\n}\r\n");

    Chip().Poke(0x4C, 0x90);
    EXPECT_EQ(SettingsFileRegisters(true),
              "Address\tData\tRegister\r\n{\r\n0x4C\t0x90\t // Local THERM1 Limit\r\n"
              "0x4C\t0x90\t // 1.5V2 (ICH) High Limit\r\n}\r\n");
}

TEST_F(SettingsWriterTest, DialogsStartWhereTheUserMayWrite) {
    EXPECT_EQ(SettingsFileRequest(true).initialDirectory, tempDir.path().toStdString());
    // A missing program directory cannot be written to, even by root.
    SetProgramDirectory(TempPath("installed"));
    for (const bool forSave : {true, false}) {
        EXPECT_NE(SettingsFileRequest(forSave).initialDirectory, ProgramDirectory());
        EXPECT_EQ(SettingsFileRequest(forSave).initialDirectory, DefaultFileFolder());
    }
}

}  // namespace
}  // namespace kestrum
