// gulpo-replay as a program: traces in the documented form, the same bytes
// for the same script, and bad scripts refused before anything runs.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/core/script.h"
#include "sessions/files.h"
#include "tests/support/replay_tool.h"
#include "tests/support/scenario.h"
#include "tests/support/trace_fields.h"

namespace {

using gulpo_test::ReplayTool;
using gulpo_test::ToolRun;
using sessions::readFile;

TEST_F(ReplayTool, TheSameScriptGivesByteIdenticalTraces) {
    const std::string script = write("game.txt",
                                     "# a short game\n"
                                     "0 click start\n"
                                     "2100 key 37\n"
                                     "2600 key 38\n"
                                     "\n"
                                     "4000 key 39\n"
                                     "9000 end\n");
    const ToolRun a = run(script);
    const ToolRun b = run(script);
    ASSERT_EQ(a.status, 0) << a.err;
    EXPECT_FALSE(a.out.empty());
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.err.find("ticks"), std::string::npos) << a.err;
    EXPECT_NE(a.err.find("virtual time 9000 ms"), std::string::npos) << a.err;
}

TEST_F(ReplayTool, WritesEveryLineInTheDocumentedForm) {
    const std::string script = write("lines.txt",
                                     "0 click start\n"
                                     "500 set PlayerDX 30\n"
                                     "2050 place imgGhost1 3120 2880\n"
                                     "2060 food 3 0\n"
                                     "2060 big 1 0\n"
                                     "2100 key 40\n"
                                     "2200 end\n");
    const std::string trace = dir_ + "/trace.jsonl";
    const ToolRun r = run("--quiet --trace '" + trace + "' " + script);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_TRUE(r.err.empty()) << "quiet means no summary";
    std::istringstream lines(readFile(trace));
    std::string line;
    std::getline(lines, line);
    EXPECT_TRUE(line.starts_with("{\"t\":0,\"ev\":\"load\",\"depth\":0,\"state\":{\"gulpo\":["))
        << line;
    EXPECT_TRUE(
        line.ends_with(",\"cmdStart\":true,\"cmdAbout\":true,\"beeps\":0,\"about\":\"none\"}}"))
        << line;
    const char* keys[] = {
        "\"gulpo\":",          "\"ghost1\":",         "\"ghost2\":",   "\"ghost3\":",
        "\"fruit\":",          "\"PlayerDX\":",       "\"PlayerDY\":", "\"Ghost1DX\":",
        "\"Ghost1DY\":",       "\"Ghost2DX\":",       "\"Ghost2DY\":", "\"Ghost3DX\":",
        "\"Ghost3DY\":",       "\"Score\":",          "\"Lives\":",    "\"Level\":",
        "\"DotsEaten\":",      "\"FruitDotsEaten\":", "\"CoinFlip\":", "\"PlayerStartLeft\":",
        "\"PlayerStartTop\":", "\"food\":",           "\"big\":",      "\"tmrMain\":",
        "\"tmrGhost\":",       "\"lblScore\":",       "\"lblLives\":", "\"lblLevel\":",
        "\"cmdStart\":",       "\"cmdAbout\":",       "\"beeps\":",    "\"about\":"};
    std::size_t at = 0;
    for (const char* k : keys) {
        const std::size_t next = line.find(k, at);
        ASSERT_NE(next, std::string::npos) << k << " missing or out of order";
        at = next;
    }
    std::getline(lines, line);
    EXPECT_EQ(line, "{\"t\":0,\"ev\":\"wait\",\"depth\":0,\"ms\":2000}");
    std::getline(lines, line);
    EXPECT_TRUE(line.starts_with(
        "{\"t\":500,\"ev\":\"set\",\"depth\":1,\"args\":[\"PlayerDX\",\"30\"],\"state\":{"))
        << line;
    std::getline(lines, line);
    EXPECT_EQ(line, "{\"t\":2000,\"ev\":\"wait_end\",\"depth\":0}");
    std::getline(lines, line);
    EXPECT_TRUE(line.starts_with("{\"t\":2000,\"ev\":\"start\",\"depth\":0,\"state\":{")) << line;
    std::getline(lines, line);
    EXPECT_TRUE(line.starts_with("{\"t\":2017,\"ev\":\"tick\",\"depth\":0,\"coin\":")) << line;
    const std::string all = readFile(trace);
    EXPECT_NE(all.find("\"ev\":\"place\",\"depth\":0,\"args\":[\"imgGhost1\",\"3120\",\"2880\"]"),
              std::string::npos);
    EXPECT_NE(all.find("\"ev\":\"food\",\"depth\":0,\"args\":[\"3\",\"0\"]"), std::string::npos);
    EXPECT_NE(all.find("\"big\":\"1011\""), std::string::npos);
    EXPECT_NE(all.find("\"ev\":\"key\",\"depth\":0,\"code\":40,"), std::string::npos);
}

TEST_F(ReplayTool, EndStopsInTheMiddleOfAWaitAndClosingTheMainWindowExits) {
    const ToolRun stopped = run(write("stop.txt", "0 click start\n700 end\n"));
    ASSERT_EQ(stopped.status, 0);
    EXPECT_NE(stopped.out.find("\"ev\":\"wait\""), std::string::npos);
    EXPECT_EQ(stopped.out.find("wait_end"), std::string::npos);
    EXPECT_EQ(stopped.out.find("\"ev\":\"exit\""), std::string::npos);

    const ToolRun closed = run(write("close.txt", "100 closewin main\n5000 key 37\n"));
    ASSERT_EQ(closed.status, 0);
    EXPECT_TRUE(closed.out.ends_with("{\"t\":100,\"ev\":\"exit\",\"depth\":0}\n")) << closed.out;
    EXPECT_EQ(closed.out.find("\"ev\":\"key\""), std::string::npos);
}

TEST_F(ReplayTool, UntilAndStandardInputAreHonoured) {
    const ToolRun r = run("--until 3000 - < '" + write("in.txt", "0 click start\n") + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("virtual time 3000 ms"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("\"ev\":\"tick\""), std::string::npos);
}

// A script with one thing wrong, and what the message says after the
// file's name.
struct Bad {
    const char* script;
    const char* message;
};

void PrintTo(const Bad& bad, std::ostream* os) {
    *os << ::testing::PrintToString(std::string(bad.script));
}

class BadScript : public ReplayTool, public ::testing::WithParamInterface<Bad> {};

TEST_P(BadScript, ExitsTwoNamingFileAndLineAndRunsNothing) {
    const std::string path = write("bad.txt", GetParam().script);
    const ToolRun r = run(path);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find(path + GetParam().message), std::string::npos) << "got: " << r.err;
    EXPECT_TRUE(r.out.empty()) << "a bad script runs nothing";
}

INSTANTIATE_TEST_SUITE_P(
    ReplayTool, BadScript,
    ::testing::Values(Bad{"0 click start\n10 jump 3\n", ":2: unknown verb 'jump'"},
                      Bad{"0 key 300\n", ":1: key code 300 is out of range 0 to 255"},
                      Bad{"0 key x\n", ":1: key code 'x' is not a whole number"},
                      Bad{"100 key 37\n50 key 38\n", ":2: time 50 goes backwards"},
                      Bad{"0 food 76 0\n", ":1: food index 76 is out of range 0 to 75"},
                      Bad{"0 big 4 1\n", ":1: big index 4 is out of range 0 to 3"},
                      Bad{"0 set Speed 3\n", ":1: unknown variable 'Speed'"},
                      Bad{"0 set CoinFlip 1\n", ":1: unknown variable 'CoinFlip'"},
                      Bad{"0 place imgFruit 1 2\n", ":1: unknown sprite 'imgFruit'"},
                      Bad{"0 click cancel\n", ":1: unknown button 'cancel'"},
                      Bad{"0 key\n", ":1: 'key' takes 1 argument"},
                      Bad{"0 end now\n", ":1: 'end' takes 0 arguments"},
                      Bad{"-5 key 37\n", ":1: time -5 is out of range"},
                      Bad{"start\n", ":1: expected '<time> <verb> [arguments]'"},
                      Bad{"0 set Score 40000\n", ":1: value 40000 is out of range -32768 to 32767"},
                      Bad{"0 alt SS\n", ":1: 'alt' takes a single letter"},
                      Bad{"86400001 end\n", ":1: time 86400001 is out of range 0 to 86400000"}));

TEST_F(ReplayTool, AMissingScriptExitsTwoNamingTheFile) {
    const ToolRun missing = run(dir_ + "/no-such-script.txt");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("no-such-script.txt: cannot open"), std::string::npos);
}

// A variable a script may set, by its name.
struct Named {
    const char* name;
    game::Int16 game::FrmGulpo::*member;
};

void PrintTo(const Named& v, std::ostream* os) {
    *os << v.name;
}

class Settable : public ::testing::TestWithParam<Named> {};

TEST_P(Settable, SetReachesTheModuleVariableItNames) {
    const Named v = GetParam();
    // 7777 is no variable's value at load, so a name pointed at the wrong
    // variable shows.
    gulpo_test::Scenario s(std::string("100 set ") + v.name + " 7777\n200 end\n");
    EXPECT_EQ(s.game().*v.member, 7777);
    const std::string line = s.lines("set").at(0);
    EXPECT_EQ(gulpo_test::number(line, v.name), 7777) << line;
    EXPECT_EQ(gulpo_test::occurrences(line, ":7777"), 1)
        << v.name << " changed another variable too: " << line;
}

using game::FrmGulpo;
INSTANTIATE_TEST_SUITE_P(
    ScriptParser, Settable,
    ::testing::Values(
        Named{"PlayerDX", &FrmGulpo::PlayerDX}, Named{"PlayerDY", &FrmGulpo::PlayerDY},
        Named{"Ghost1DX", &FrmGulpo::Ghost1DX}, Named{"Ghost1DY", &FrmGulpo::Ghost1DY},
        Named{"Ghost2DX", &FrmGulpo::Ghost2DX}, Named{"Ghost2DY", &FrmGulpo::Ghost2DY},
        Named{"Ghost3DX", &FrmGulpo::Ghost3DX}, Named{"Ghost3DY", &FrmGulpo::Ghost3DY},
        Named{"Score", &FrmGulpo::Score}, Named{"Lives", &FrmGulpo::Lives},
        Named{"Level", &FrmGulpo::Level}, Named{"PlayerStartLeft", &FrmGulpo::PlayerStartLeft},
        Named{"PlayerStartTop", &FrmGulpo::PlayerStartTop}),
    [](const ::testing::TestParamInfo<Named>& p) { return std::string(p.param.name); });

TEST(ScriptParser, TakesCommentsBlankLinesAndTheEndLine) {
    const core::Script s = core::parseScript(
        "# opening\n\n  0 click start  \r\n2100 key 37\n# later\n5000 end\n6000 set Score 0300\n",
        "x");
    ASSERT_EQ(s.events.size(), 4u);
    EXPECT_EQ(s.events[0].line, 3);
    EXPECT_EQ(s.events[0].verb, core::Verb::click);
    EXPECT_EQ(s.events[1].args[0], 37);
    EXPECT_EQ(s.events[3].args[1], 300);
    EXPECT_EQ(s.written(s.events[3]), "Score 0300") << "the trace shows what the script wrote";
    ASSERT_TRUE(s.end.has_value());
    EXPECT_EQ(*s.end, 5000);
}

}  // namespace
