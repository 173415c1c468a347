// What gulpo-replay takes as a script: only files and streams, within its
// limits, with the line ends and byte-order mark people's editors write,
// and messages about bad text that a terminal can show.
#include <gtest/gtest.h>

#include <string>

#include "app/core/script.h"
#include "sessions/files.h"
#include "tests/support/replay_tool.h"

namespace {

using gulpo_test::ReplayTool;
using gulpo_test::ToolRun;

std::string repeated(const std::string& line, std::size_t times) {
    std::string text;
    text.reserve(line.size() * times);
    for (std::size_t i = 0; i < times; ++i) {
        text += line;
    }
    return text;
}

TEST_F(ReplayTool, ADirectoryIsNoScriptFromItsNameOrFromStandardInput) {
    const ToolRun named = run("'" + dir_ + "'");
    EXPECT_EQ(named.status, 2);
    EXPECT_NE(named.err.find(dir_ + ": is a directory, not a script"), std::string::npos)
        << named.err;
    EXPECT_TRUE(named.out.empty()) << "nothing is run";

    const ToolRun piped = run("- <'" + dir_ + "'");
    EXPECT_EQ(piped.status, 2);
    EXPECT_NE(piped.err.find("<stdin>: is a directory"), std::string::npos) << piped.err;
    EXPECT_TRUE(piped.out.empty());
}

TEST_F(ReplayTool, EndlessInputIsRefusedAtALimitWithoutRunning) {
    const ToolRun zeros = run("/dev/zero");
    EXPECT_EQ(zeros.status, 2);
    EXPECT_NE(zeros.err.find("/dev/zero:1: the line is longer than 4096 bytes"), std::string::npos)
        << zeros.err.substr(0, 300);
    EXPECT_LT(zeros.err.size(), 200u);

    // Blank lines only: each line is short, the whole is not.
    const ToolRun blanks = shell("yes '' | \"$REPLAY\" -");
    EXPECT_EQ(blanks.status, 2);
    EXPECT_NE(blanks.err.find("<stdin>:67108865: the script is longer than 67108864 bytes"),
              std::string::npos)
        << blanks.err;
    EXPECT_TRUE(blanks.out.empty());
}

TEST_F(ReplayTool, AScriptWithMoreEventsThanTheLimitIsRefused) {
    const std::string script = write("many.txt", repeated("0 key 9\n", core::kMostEvents + 1));
    const ToolRun r = run(script);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(script + ":1000001: the script has more than 1000000 events"),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(r.out.empty());
}

TEST_F(ReplayTool, AWholeVirtualDayOfEventsRuns) {
    std::string text = "0 key 9\n";
    for (long long t = 600; t < core::kLatestScriptTime; t += 600) {
        text += std::to_string(t) + " key 9\n";
    }
    text += "86400000 end\n";
    const std::string summary = dir_ + "/summary.json";
    const ToolRun r =
        run("--no-trace --quiet --summary-json '" + summary + "' " + write("day.txt", text));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string figures = sessions::readFile(summary);
    EXPECT_NE(figures.find("\"virtual_ms\":86400000,"), std::string::npos) << figures;
    EXPECT_NE(figures.find("\"undelivered_events\":0}"), std::string::npos) << figures;
}

// A script as an editor may write it.
struct Written {
    const char* how;
    std::string script;
};

void PrintTo(const Written& w, std::ostream* os) {
    *os << w.how;
}

class WrittenScript : public ReplayTool, public ::testing::WithParamInterface<Written> {};

TEST_P(WrittenScript, ReadsAsAPersonExpects) {
    const ToolRun r = run(write("ends.txt", GetParam().script));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("{\"t\":2000,\"ev\":\"start\""), std::string::npos);
    EXPECT_NE(r.out.find("{\"t\":2100,\"ev\":\"key\",\"depth\":0,\"code\":37,"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    ReplayTool, WrittenScript,
    ::testing::Values(Written{"LF after a byte-order mark",
                              "\xEF\xBB\xBF"
                              "0 click start\n2100 key 37\n3000 end\n"},
                      Written{"CR LF", "0 click start\r\n2100 key 37\r\n3000 end\r\n"},
                      Written{"CR", "0 click start\r2100 key 37\r3000 end\r"}));

TEST_F(ReplayTool, ABadLineAmongMixedLineEndsIsNamedByItsNumber) {
    const ToolRun bad = run(write("bad.txt", "0 click start\r# fine\r\n2100 jump\r"));
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("bad.txt:3: unknown verb 'jump'"), std::string::npos) << bad.err;
}

TEST_F(ReplayTool, ABadTokenIsQuotedShortAndWithItsControlBytesEscaped) {
    const ToolRun longToken = run(write("long.txt", "0 " + std::string(4000, 'x') + " 1\n"));
    EXPECT_EQ(longToken.status, 2);
    EXPECT_NE(longToken.err.find(":1: unknown verb '" + std::string(40, 'x') + "...' (4000 bytes)"),
              std::string::npos)
        << longToken.err.substr(0, 300);
    EXPECT_LT(longToken.err.size(), 300u);

    const ToolRun longNumber = run(write("number.txt", "0 key " + std::string(3000, '9') + "\n"));
    EXPECT_EQ(longNumber.status, 2);
    EXPECT_NE(longNumber.err.find(":1: key code " + std::string(40, '9') +
                                  "... (3000 bytes) is out of range 0 to 255"),
              std::string::npos)
        << longNumber.err.substr(0, 300);

    const char withControls[] = "0 k\0ey\x1b[31m\x7f 37\n";
    const ToolRun control =
        run(write("control.txt", std::string(withControls, sizeof withControls - 1)));
    EXPECT_EQ(control.status, 2);
    EXPECT_NE(control.err.find(":1: unknown verb 'k\\x00ey\\x1b[31m\\x7f' (expected key,"),
              std::string::npos)
        << control.err;
    for (const char c : control.err) {
        EXPECT_TRUE(c == '\n' || (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f))
            << "a raw control byte " << static_cast<int>(c) << " reaches the terminal";
    }
}

// A script read a piece at a time, as it comes from a pipe, must read the
// same whatever the pieces: a CR LF split between two pieces is one line end.
core::Script readInPieces(std::string_view text, std::size_t piece) {
    core::ScriptReader reader("pieces");
    for (std::size_t at = 0; at < text.size(); at += piece) {
        reader.feed(text.substr(at, piece));
    }
    return reader.finish();
}

TEST(ScriptReader, ReadsTheSameWhateverPiecesTheTextComesIn) {
    const std::string text =
        "\xEF\xBB\xBF# a game\r\n0 click start\r\n\r\n2100 key 37\r2200 set Score 5\n"
        "2300 place imgGhost1 3120 2880\r\n2400 end";
    const core::Script whole = core::parseScript(text, "pieces");
    ASSERT_EQ(whole.events.size(), 5u);
    for (std::size_t piece = 1; piece <= 7; ++piece) {
        const core::Script s = readInPieces(text, piece);
        ASSERT_EQ(s.events.size(), whole.events.size()) << "pieces of " << piece;
        for (std::size_t i = 0; i < s.events.size(); ++i) {
            EXPECT_EQ(s.events[i].line, whole.events[i].line) << "pieces of " << piece;
            EXPECT_EQ(s.events[i].t, whole.events[i].t);
            EXPECT_EQ(s.events[i].args, whole.events[i].args);
            EXPECT_EQ(s.written(s.events[i]), whole.written(whole.events[i]));
        }
    }
    EXPECT_EQ(whole.events[2].line, 5);
    EXPECT_EQ(whole.events[3].line, 6);
    EXPECT_EQ(whole.written(whole.events[3]), "imgGhost1 3120 2880");

    for (std::size_t piece = 1; piece <= 3; ++piece) {
        try {
            readInPieces("0 click start\r\n\r\n100 jump\r\n", piece);
            ADD_FAILURE() << "a bad verb read in pieces of " << piece;
        } catch (const core::ScriptError& e) {
            EXPECT_STREQ(e.what(),
                         "pieces:3: unknown verb 'jump' (expected key, alt, click, closewin, set, "
                         "place, food, big or end)");
        }
    }
}

TEST(ScriptReader, TakesALineOrAScriptRightUpToItsLimit) {
    const std::string longest = "#" + std::string(core::kLongestLine - 1, '-');
    EXPECT_NO_THROW(core::parseScript(longest + "\n0 end\n", "limit"));
    EXPECT_THROW(core::parseScript(longest + "-\n0 end\n", "limit"), core::ScriptError);

    const std::string most = repeated("0 key 9\n", core::kMostEvents);
    EXPECT_EQ(core::parseScript(most, "limit").events.size(), core::kMostEvents);
    EXPECT_THROW(core::parseScript(most + "0 end\n", "limit"), core::ScriptError);
}

}  // namespace
